#include "GridComboDropList.h"

#include "GridComboEdit.h"

#include <QKeyEvent>

CGridComboDropList::CGridComboDropList(CGridComboEdit *pOwner, QWidget *pParent)
    : QListWidget(pParent), m_pOwner(pOwner)
{
    setFrameShape(QFrame::Box);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void CGridComboDropList::Choose()
{
    const int nIndex = currentRow();
    const QString strText = currentItem() != nullptr ? currentItem()->text() : QString();
    m_pOwner->OnDropListChoice(nIndex, strText);
}

void CGridComboDropList::keyPressEvent(QKeyEvent *pEvent)
{
    switch (pEvent->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Choose();
        return;
    case Qt::Key_Escape:
        m_pOwner->CloseDropList(true);
        return;
    default:
        QListWidget::keyPressEvent(pEvent);
    }
}

void CGridComboDropList::mouseReleaseEvent(QMouseEvent *pEvent)
{
    QListWidget::mouseReleaseEvent(pEvent);
    if (pEvent->button() == Qt::LeftButton && itemAt(pEvent->position().toPoint()) != nullptr)
        Choose();
}

void CGridComboDropList::focusOutEvent(QFocusEvent *pEvent)
{
    m_nRemembered = currentRow();
    m_strRemembered = currentItem() != nullptr ? currentItem()->text() : QString();
    QListWidget::focusOutEvent(pEvent);
}
