#include "SplashWindow.h"

#include "Images.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QTimerEvent>

CSplashWindow::CSplashWindow()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(QStringLiteral("Pellix"));
}

CSplashWindow::~CSplashWindow()
{
    qApp->removeEventFilter(this);
}

bool CSplashWindow::Create()
{
    // Drawn for the screen it shows on, so that it stays sharp when the screen is scaled.
    const QScreen *pScreen = QGuiApplication::primaryScreen();
    m_bitmap = SplashPicture(pScreen != nullptr ? pScreen->devicePixelRatio() : 1.0);
    if (m_bitmap.isNull())
        return false;
    setFixedSize(m_bitmap.deviceIndependentSize().toSize());
    if (pScreen != nullptr)
        move(pScreen->availableGeometry().center() - rect().center());
    // Keys go to whatever has the focus while the picture is up, so they are caught for the
    // whole application; clicks only on the picture itself.
    qApp->installEventFilter(this);
    show();
    repaint();
    // A coarse timer may fire up to a twentieth early.
    m_nTimerID = startTimer(m_nDisplayTime, Qt::PreciseTimer);
    return true;
}

void CSplashWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_bitmap);
}

void CSplashWindow::timerEvent(QTimerEvent *pEvent)
{
    if (pEvent->timerId() == m_nTimerID)
        HideSplashScreen();
    else
        QWidget::timerEvent(pEvent);
}

bool CSplashWindow::eventFilter(QObject *pWatched, QEvent *pEvent)
{
    switch (pEvent->type()) {
    case QEvent::ShortcutOverride:
        // Accepted, so that no shortcut fires and the key arrives as a key press below.
        pEvent->accept();
        return true;
    case QEvent::KeyPress:
        HideSplashScreen();
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress: {
        auto *pWidget = qobject_cast<QWidget *>(pWatched);
        if (pWidget == nullptr || pWidget->window() != this)
            return false;
        HideSplashScreen();
        return true;
    }
    default:
        return false;
    }
}

void CSplashWindow::HideSplashScreen()
{
    if (m_nTimerID != 0)
        killTimer(m_nTimerID);
    m_nTimerID = 0;
    qApp->removeEventFilter(this);
    close();
}
