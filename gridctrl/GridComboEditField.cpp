#include "GridComboEditField.h"

#include "GridComboEdit.h"
#include "GridEditMenu.h"
#include "GridListView.h"

#include <QContextMenuEvent>
#include <QKeyEvent>

CGridComboEditField::CGridComboEditField(CGridComboEdit *pOwner, bool bByClick)
    : QLineEdit(pOwner), m_pOwner(pOwner), m_bByClick(bByClick)
{
    setFrame(false);
}

void CGridComboEditField::Start(const QString &strText)
{
    setText(strText);
}

void CGridComboEditField::showEvent(QShowEvent *pEvent)
{
    QLineEdit::showEvent(pEvent);
    // The caret is placed once the editor shows, after the view has selected its text.
    if (m_bCaretPlaced || !isVisible())
        return;
    m_bCaretPlaced = true;
    CGridListView *pList = m_pOwner->GetList();
    if (m_bByClick) {
        const QPoint point = mapFrom(pList->viewport(), pList->GetLastClickPoint());
        setCursorPosition(cursorPositionAt(point));
    } else {
        selectAll();
    }
}

bool CGridComboEditField::TakeSuppressAutoComplete()
{
    const bool bWas = m_bSuppressAutoComplete;
    m_bSuppressAutoComplete = false;
    return bWas;
}

bool CGridComboEditField::event(QEvent *pEvent)
{
    if (QKeyEvent *pTab = GridTabKeyPress(pEvent)) {
        keyPressEvent(pTab);
        return true;
    }
    return QLineEdit::event(pEvent);
}

void CGridComboEditField::keyPressEvent(QKeyEvent *pEvent)
{
    if (m_pOwner->HandleKey(pEvent, true))
        return;
    if (pEvent->key() == Qt::Key_Backspace || pEvent->key() == Qt::Key_Delete)
        m_bSuppressAutoComplete = true;
    QLineEdit::keyPressEvent(pEvent);
}

void CGridComboEditField::mouseDoubleClickEvent(QMouseEvent *pEvent)
{
    QLineEdit::mouseDoubleClickEvent(pEvent);
    m_pOwner->GetList()->NotifyDoubleClick();
}

void CGridComboEditField::contextMenuEvent(QContextMenuEvent *pEvent)
{
    // The field has no handler for Delete Item: the menu shows it disabled.
    CGridEditMenu menu(*this, false);
    menu.Track(pEvent->globalPos());
}
