#include "FocusFrame.h"

#include <QEvent>
#include <QPainter>
#include <QRegion>

CFocusFrame::CFocusFrame(QWidget *pPane) : QWidget(pPane)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    SetPane(pPane);
}

CFocusFrame::~CFocusFrame()
{
    if (m_pPane != nullptr)
        m_pPane->removeEventFilter(this);
}

void CFocusFrame::SetPane(QWidget *pPane)
{
    if (pPane != m_pPane) {
        if (m_pPane != nullptr)
            m_pPane->removeEventFilter(this);
        m_pPane = pPane;
        if (parentWidget() != pPane)
            setParent(pPane);
        pPane->installEventFilter(this);
    }
    FitToPane();
    show();
}

void CFocusFrame::FitToPane()
{
    const QRect rect = m_pPane->rect();
    setGeometry(rect);
    // Only the ring belongs to this widget: what lies inside it paints and scrolls as before.
    const QRect rectLocal(QPoint(0, 0), rect.size());
    setMask(QRegion(rectLocal).subtracted(
        QRegion(rectLocal.adjusted(kRingWidth, kRingWidth, -kRingWidth, -kRingWidth))));
    raise();
}

void CFocusFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Active, QPalette::Highlight));
}

bool CFocusFrame::eventFilter(QObject *pWatched, QEvent *pEvent)
{
    if (pWatched == m_pPane) {
        if (pEvent->type() == QEvent::Resize)
            FitToPane();
        // A child the pane makes later (an editor, a scroll bar) would cover the ring.
        else if (pEvent->type() == QEvent::ChildAdded)
            raise();
    }
    return QWidget::eventFilter(pWatched, pEvent);
}
