#include "GridCellEdit.h"

#include "GridEditMenu.h"
#include "GridListView.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>

CGridCellEdit::CGridCellEdit(CGridListView *pList, int nRow, int nPos, const QString &strText,
                             bool bByClick, QWidget *pParent)
    : QLineEdit(pParent), m_pList(pList), m_nRow(nRow), m_nPos(nPos), m_strInitial(strText),
      m_bByClick(bByClick)
{
    setFrame(false);
    setObjectName(QStringLiteral("IDC_GRID_INPLACE_%1").arg(IDC_GRID_INPLACE));
    connect(this, &QLineEdit::textEdited, this, &CGridCellEdit::GrowToText);
    connect(this, &QLineEdit::textChanged, this, [this](const QString &strNow) {
        if (!IsClosed())
            m_pList->OnEditorTextChanged(this, m_nRow, m_nPos, strNow);
    });
}

void CGridCellEdit::Start()
{
    setText(m_strInitial);
    setFocus(Qt::OtherFocusReason);
}

void CGridCellEdit::showEvent(QShowEvent *pEvent)
{
    QLineEdit::showEvent(pEvent);
    // The caret is placed once the editor shows, after the view has selected its text.
    if (m_bCaretPlaced)
        return;
    m_bCaretPlaced = true;
    if (m_bByClick) {
        const QPoint point = mapFrom(m_pList->viewport(), m_pList->GetLastClickPoint());
        setCursorPosition(cursorPositionAt(point));
    } else {
        selectAll();
    }
}

void CGridCellEdit::CommitEdit()
{
    const QString strText = text();
    if (strText == m_strInitial)
        return;
    m_strInitial = strText;
    m_pList->CommitEditorText(this, m_nRow, m_nPos, m_bCancelled ? nullptr : &strText);
}

bool CGridCellEdit::event(QEvent *pEvent)
{
    if (QKeyEvent *pTab = GridTabKeyPress(pEvent)) {
        keyPressEvent(pTab);
        return true;
    }
    return QLineEdit::event(pEvent);
}

void CGridCellEdit::keyPressEvent(QKeyEvent *pEvent)
{
    const bool bNoSelection = !hasSelectedText();
    switch (pEvent->key()) {
    case Qt::Key_Left:
        if (cursorPosition() == 0 && bNoSelection) {
            Navigate(NAV_LEFT);
            return;
        }
        break;
    case Qt::Key_Right:
        if (cursorPosition() == text().size() && bNoSelection) {
            Navigate(NAV_RIGHT);
            return;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Navigate(NAV_ENTER);
        return;
    case Qt::Key_Up:
        Navigate(NAV_UP);
        return;
    case Qt::Key_Down:
        Navigate(NAV_DOWN);
        return;
    case Qt::Key_Tab:
        Navigate((pEvent->modifiers() & Qt::ShiftModifier) != 0 ? NAV_PREV : NAV_NEXT);
        return;
    case Qt::Key_Backtab:
        Navigate(NAV_PREV);
        return;
    case Qt::Key_Escape:
        m_bCancelled = true;
        LeaveToList();
        return;
    default:
        // Control+M types a carriage return: it leaves the cell like a click elsewhere.
        if (pEvent->text() == QStringLiteral("\r")) {
            LeaveToList();
            return;
        }
        break;
    }
    QLineEdit::keyPressEvent(pEvent);
}

void CGridCellEdit::Navigate(int nCode)
{
    CommitEdit();
    m_pList->EndEditAndNavigate(this, nCode, false);
}

void CGridCellEdit::LeaveToList()
{
    m_pList->setFocus(Qt::OtherFocusReason);
    // Without an active window the focus does not move: end the edit here.
    if (!IsClosed())
        m_pList->EndEditAndNavigate(this, -1, !m_bCancelled);
}

void CGridCellEdit::focusOutEvent(QFocusEvent *pEvent)
{
    QLineEdit::focusOutEvent(pEvent);
    // A context menu takes the focus only for a moment, and a window the user switches away
    // from gives it back on return: neither ends the edit.
    if (pEvent->reason() == Qt::PopupFocusReason ||
        pEvent->reason() == Qt::ActiveWindowFocusReason ||
        QApplication::activePopupWidget() != nullptr || IsClosed())
        return;
    m_pList->EndEditAndNavigate(this, -1, !m_bCancelled);
}

void CGridCellEdit::mouseDoubleClickEvent(QMouseEvent *pEvent)
{
    QLineEdit::mouseDoubleClickEvent(pEvent);
    m_pList->NotifyDoubleClick();
}

void CGridCellEdit::GrowToText()
{
    const int nTextWidth = QFontMetrics(m_pList->font()).horizontalAdvance(text());
    if (width() >= nTextWidth + 5)
        return;
    const int nRight = std::max(x() + nTextWidth + 5, m_pList->viewport()->rect().right());
    m_nGrownWidth = nRight - x();
    resize(m_nGrownWidth, height());
}

void CGridCellEdit::contextMenuEvent(QContextMenuEvent *pEvent)
{
    CGridEditMenu menu(*this, true);
    menu.Track(pEvent->globalPos());
}
