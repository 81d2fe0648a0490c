// The start-up picture: how long it stays and what closes it.

#include "GuiTestKit.h"

#include "SplashWindow.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

namespace
{
// True once the splash window is gone (hidden, or deleted).
bool IsGone(const QPointer<CSplashWindow> &pSplash)
{
    return pSplash == nullptr || !pSplash->isVisible();
}
} // namespace

TEST(SplashWindow, StaysOneAndAHalfSecondsNotThreeQuarters)
{
    QPointer<CSplashWindow> pSplash = new CSplashWindow;
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(pSplash->Create());
    EXPECT_TRUE(pSplash->isVisible());
    EXPECT_EQ(pSplash->size(), QSize(422, 264));
    QTest::qWait(1000);
    EXPECT_FALSE(IsGone(pSplash));
    EXPECT_TRUE(QTest::qWaitFor([&] { return IsGone(pSplash); }, 2000));
    EXPECT_GE(clock.elapsed(), 1450);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(pSplash, nullptr);
}

TEST(SplashWindow, AClickOnThePictureClosesItAtOnce)
{
    QPointer<CSplashWindow> pSplash = new CSplashWindow;
    ASSERT_TRUE(pSplash->Create());
    QTest::mouseClick(pSplash, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(IsGone(pSplash));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(pSplash, nullptr);
}

TEST(SplashWindow, AKeyClosesItAndIsSwallowed)
{
    QWidget window;
    auto *pEdit = new QLineEdit(&window);
    auto *pShortcut = new QAction(&window);
    pShortcut->setShortcut(QKeySequence("Ctrl+N"));
    window.addAction(pShortcut);
    int nTriggered = 0;
    QObject::connect(pShortcut, &QAction::triggered, [&] { ++nTriggered; });
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    pEdit->setFocus();

    QTest::keyClick(pEdit, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(nTriggered, 1);
    QPointer<CSplashWindow> pSplash = new CSplashWindow;
    ASSERT_TRUE(pSplash->Create());
    QTest::keyClick(pEdit, Qt::Key_X);
    EXPECT_TRUE(IsGone(pSplash));
    EXPECT_EQ(pEdit->text(), "");
    // Afterwards keys reach the window again.
    QTest::keyClick(pEdit, Qt::Key_Y);
    EXPECT_EQ(pEdit->text(), "y");

    pSplash = new CSplashWindow;
    ASSERT_TRUE(pSplash->Create());
    QTest::keyClick(pEdit, Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(IsGone(pSplash));
    EXPECT_EQ(nTriggered, 1);
    // Showing the picture may have taken the activation; the window gets it back.
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(pEdit, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(nTriggered, 2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(SplashWindow, AClickElsewhereIsNotTaken)
{
    QWidget window;
    window.show();
    QPointer<CSplashWindow> pSplash = new CSplashWindow;
    ASSERT_TRUE(pSplash->Create());
    QTest::mouseClick(&window, Qt::LeftButton);
    EXPECT_FALSE(IsGone(pSplash));
    delete pSplash.data();
}

using StartUp = PellixTest;

TEST_F(StartUp, TheSplashPictureShowsFirst)
{
    QPointer<CSplashWindow> pSplash;
    CCommandLineInfo cmdInfo;
    CPellixApp app(cmdInfo);
    ASSERT_TRUE(app.InitInstance());
    pSplash = app.GetSplashWindow();
    ASSERT_NE(pSplash, nullptr);
    EXPECT_TRUE(pSplash->isVisible());
    EXPECT_TRUE(pSplash->windowFlags() & Qt::WindowStaysOnTopHint);
}
