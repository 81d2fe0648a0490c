// Dragging items in the tree pane: a left drag of an item shows the element image beside the
// cursor and highlights the item under it; releasing the button over an item that may take the
// dragged subtree moves it there (with Ctrl: copies it). Drags from other programs get no drop.

#include "PellixTreeView.h"

#include "DocumentEditor.h"
#include "Images.h"
#include "Resource.h"

#include <QApplication>
#include <QDragMoveEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

namespace
{
// The image is drawn this far right of and below the cursor.
constexpr QPoint kDragImageOffset(15, 15);
} // namespace

bool CPellixTreeView::CanDropOn(const CTreeItemRef &source, const CTreeItemRef &target)
{
    if (source.IsNull() || target.IsNull() || target.GetNode().nodeType() != dom::NODE_ELEMENT)
        return false;
    return !(target == source.GetParent()) && !source.Contains(target);
}

CTreeItemRef CPellixTreeView::GetHighlightedItem() const
{
    return ItemFromIndex(m_highlighted);
}

void CPellixTreeView::SetHighlightedItem(const CTreeItemRef &item)
{
    const QModelIndex index = IndexFromItem(item);
    m_highlighted = index;
    // The highlighted item alone is drawn selected, branch area included; the current item,
    // whose node the grid shows, stays current and is selected again once the highlight goes.
    const QModelIndex drawn = index.isValid() ? index : currentIndex();
    selectionModel()->select(drawn, drawn.isValid() ? QItemSelectionModel::ClearAndSelect
                                                    : QItemSelectionModel::Clear);
}

QWidget *CPellixTreeView::GetDragImage() const
{
    return m_bDragging ? m_pDragImage : nullptr;
}

void CPellixTreeView::mouseMoveEvent(QMouseEvent *pEvent)
{
    const QPoint pt = pEvent->position().toPoint();
    // While dragging, the selection stays where it is: the view's own handling would move it.
    if (m_bDragging) {
        DragTo(pt, pEvent->globalPosition().toPoint());
        return;
    }
    if ((pEvent->buttons() & Qt::LeftButton) && !m_itemPressed.IsNull() &&
        (pt - m_ptPressed).manhattanLength() >= QApplication::startDragDistance()) {
        BeginDrag(m_itemPressed, pEvent->globalPosition().toPoint());
        DragTo(pt, pEvent->globalPosition().toPoint());
        return;
    }
    QTreeView::mouseMoveEvent(pEvent);
}

void CPellixTreeView::BeginDrag(const CTreeItemRef &item, const QPoint &ptGlobal)
{
    m_bDragging = true;
    m_itemDragged = item;
    m_itemPressed = CTreeItemRef();
    // A drag is no click on the label: no rename follows it.
    m_bPressOnSelectedLabel = false;
    m_pRenameTimer->stop();
    m_pDragImage->move(ptGlobal + kDragImageOffset);
    m_pDragImage->show();
    viewport()->grabMouse();
}

void CPellixTreeView::DragTo(const QPoint &ptViewport, const QPoint &ptGlobal)
{
    m_pDragImage->move(ptGlobal + kDragImageOffset);
    m_itemDropTarget = HitTest(ptViewport);
    SetHighlightedItem(m_itemDropTarget);
    viewport()->setCursor(CanDropOn(m_itemDragged, m_itemDropTarget) ? DragCursor()
                                                                     : Qt::ForbiddenCursor);
}

void CPellixTreeView::EndDrag(bool bDrop, const QPoint &ptViewport, Qt::KeyboardModifiers modifiers)
{
    const CTreeItemRef dragged = m_itemDragged;
    m_bDragging = false;
    m_itemDragged = m_itemDropTarget = CTreeItemRef();
    viewport()->releaseMouse();
    viewport()->unsetCursor();
    m_pDragImage->hide();
    SetHighlightedItem(CTreeItemRef());
    const CTreeItemRef target = HitTest(ptViewport);
    if (!bDrop || !CanDropOn(dragged, target))
        return;
    // The dropped subtree carries the edits of the rows shown.
    CommitShownItem();
    const bool bMove = !(modifiers & Qt::ControlModifier);
    const CEditStep step(m_pEditor, bMove ? IDS_STEP_MOVE : IDS_STEP_COPY);
    PlaceNodeUnder(this, dragged, target, bMove);
}

// Other programs' data is refused here, so it does not fall through to the main window either:
// the drag is taken, and every position answers that nothing can be dropped.
void CPellixTreeView::dragEnterEvent(QDragEnterEvent *pEvent)
{
    pEvent->setDropAction(Qt::IgnoreAction);
    pEvent->accept();
}

void CPellixTreeView::dragMoveEvent(QDragMoveEvent *pEvent)
{
    pEvent->ignore();
}

void CPellixTreeView::dropEvent(QDropEvent *pEvent)
{
    pEvent->ignore();
}
