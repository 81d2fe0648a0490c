// Message boxes shown for real (no handler installed) over a window that goes while they are
// open: the splash picture closes and deletes itself on its timer during start-up.

#include "MessageBox.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace
{

// Shows an active window of `type` that deletes itself when closed, and closes it as soon as
// a box's event loop runs.
QPointer<QWidget> WindowClosingDuringTheBox(Qt::WindowType type)
{
    auto *pWindow = new QWidget(nullptr, type);
    pWindow->setAttribute(Qt::WA_DeleteOnClose);
    pWindow->show();
    QApplication::setActiveWindow(pWindow);
    QTimer::singleShot(0, pWindow, &QWidget::close);
    return pWindow;
}

// Closes the box once the window has gone, as the user's click would; never after the test.
class BoxCloser
{
public:
    BoxCloser()
    {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, [] {
            if (QWidget *pModal = QApplication::activeModalWidget())
                pModal->close();
        });
        m_timer.start(100);
    }

private:
    QTimer m_timer;
};

} // namespace

TEST(MessageBox, AMessageOutlivesTheSplashPictureClosingUnderIt)
{
    const QPointer<QWidget> pSplash = WindowClosingDuringTheBox(Qt::SplashScreen);
    ASSERT_EQ(QApplication::activeWindow(), pSplash.data());
    const BoxCloser closer;
    AfxMessageBox(QStringLiteral("XML document loaded successfully\n"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(pSplash.isNull());
}

TEST(MessageBox, AQuestionWhoseWindowIsDeletedAnswersCancel)
{
    const QPointer<QWidget> pWindow = WindowClosingDuringTheBox(Qt::Window);
    const BoxCloser closer;
    EXPECT_EQ(AfxMessageBoxYesNoCancel(QStringLiteral("Save changes to a.xml?")),
              MessageBoxResult::Cancel);
    EXPECT_TRUE(pWindow.isNull());
}
