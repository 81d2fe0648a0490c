#include "GridListTip.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

CGridListTip::CGridListTip(QWidget *pParent)
    : QWidget(pParent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                           Qt::WindowDoesNotAcceptFocus)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

CGridListTip::~CGridListTip()
{
    // A tip destroyed while shown must not leave its filter on the application.
    if (qApp != nullptr)
        qApp->removeEventFilter(this);
}

bool CGridListTip::TextFits(const QString &strText, const QFont &font, const QRect &cellRect,
                            int nTextInset)
{
    return QFontMetrics(font).horizontalAdvance(strText) <= cellRect.width() - 2 * nTextInset;
}

bool CGridListTip::Show(QWidget *pOwner, const QRect &cellRect, const QString &strText,
                        const QFont &font, int nTextInset, const QColor &textColor,
                        const QColor &backColor)
{
    if (pOwner == nullptr || cellRect.isEmpty() || strText.isEmpty() || isVisible())
        return false;
    // Not while the user drags or selects, nor for a window behind another program's.
    if (QGuiApplication::mouseButtons() != Qt::NoButton || QApplication::focusWidget() == nullptr)
        return false;
    if (TextFits(strText, font, cellRect, nTextInset))
        return false;

    m_pOwner = pOwner;
    m_strText = strText;
    m_font = font;
    m_nTextInset = nTextInset;
    m_textColor = textColor;
    m_backColor = backColor;

    const QRect rcCell(pOwner->mapToGlobal(cellRect.topLeft()), cellRect.size());
    const int nWidth = nTextInset + QFontMetrics(font).horizontalAdvance(strText) + kTextEndPad;
    m_rcHover = rcCell.adjusted(-kHoverSlack, -kHoverSlack, 0, kHoverSlack);
    setGeometry(QRect(rcCell.topLeft(), QSize(qMax(nWidth, rcCell.width()), rcCell.height())));
    qApp->installEventFilter(this);
    WatchScrolling(pOwner);
    // A tooltip window stays above the list without being raised.
    show();
    update();
    return true;
}

void CGridListTip::Hide()
{
    qApp->removeEventFilter(this);
    for (const QMetaObject::Connection &connection : std::as_const(m_scrollWatch))
        disconnect(connection);
    m_scrollWatch.clear();
    hide();
}

void CGridListTip::WatchScrolling(QWidget *pOwner)
{
    for (QWidget *pWidget = pOwner; pWidget != nullptr; pWidget = pWidget->parentWidget()) {
        auto *pArea = qobject_cast<QAbstractScrollArea *>(pWidget);
        if (pArea == nullptr)
            continue;
        for (QScrollBar *pBar : {pArea->horizontalScrollBar(), pArea->verticalScrollBar()})
            m_scrollWatch.append(
                connect(pBar, &QScrollBar::valueChanged, this, &CGridListTip::Hide));
        return;
    }
}

bool CGridListTip::eventFilter(QObject *pWatched, QEvent *pEvent)
{
    switch (pEvent->type()) {
    case QEvent::MouseMove: {
        const auto *pMouse = static_cast<QMouseEvent *>(pEvent);
        if (!m_rcHover.contains(pMouse->globalPosition().toPoint()))
            Hide();
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::Wheel:
    case QEvent::ApplicationDeactivate:
        Hide();
        break;
    case QEvent::Leave:
        // Leaving the list's window goes unseen by the move test; a leave that only comes
        // from the tip appearing under the pointer keeps it.
        if (pWatched == m_pOwner && !m_rcHover.contains(QCursor::pos()))
            Hide();
        break;
    case QEvent::Hide:
        if (pWatched == m_pOwner || (m_pOwner != nullptr && pWatched == m_pOwner->window()))
            Hide();
        break;
    default:
        break;
    }
    // The event goes on to its target: a click or key meant for the list still reaches it.
    return false;
}

void CGridListTip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette &pal = palette();
    painter.fillRect(rect(),
                     m_backColor.isValid() ? m_backColor : pal.color(QPalette::ToolTipBase));
    painter.setPen(pal.color(QPalette::ToolTipText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setFont(m_font);
    painter.setPen(m_textColor.isValid() ? m_textColor : pal.color(QPalette::ToolTipText));
    // The same rectangle and alignment as the cell's text, so the two line up exactly.
    const QRect rcText = rect().adjusted(m_nTextInset, 0, 0, 0);
    painter.drawText(rcText, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_strText);
}
