// The tree pane follows the document: every change that reaches the DOM through the editor,
// from this window or another, is mirrored in the items.

#include "PellixTreeView.h"

#include "BuildTreeFromDOM.h"
#include "DocumentEditor.h"
#include "NodeRows.h"
#include "TreeItemModel.h"

#include <vector>

CTreeItemRef CPellixTreeView::FindChildItem(const CTreeItemRef &parent, const dom::Node &node) const
{
    // Only the items there are: children not yet made have no item to find.
    if (parent.IsNull())
        return {};
    const CTreeItemModel::ItemId id = parent.GetId();
    const dom::NodeView view = node.view();
    for (int nRow = 0; nRow < m_pModel->FilledChildCount(id); ++nRow) {
        const CTreeItemModel::ItemId child = m_pModel->ChildAt(id, nRow);
        if (m_pModel->NodeViewOf(child) == view)
            return CTreeItemRef(m_pModel, child);
    }
    return {};
}

CTreeItemRef CPellixTreeView::FindItem(const dom::Node &node) const
{
    if (node.isNull())
        return {};
    // Commands act on the current item or its parent: look there first.
    for (const CTreeItemRef &near : {m_itemCurrent, m_itemCurrent.GetParent()}) {
        if (!near.IsNull() && near.GetNode() == node)
            return near;
    }
    return ItemDownTo(node, false);
}

CTreeItemRef CPellixTreeView::MakeItemFor(const dom::Node &node) const
{
    if (const CTreeItemRef found = FindItem(node))
        return found;
    return ItemDownTo(node, true);
}

CTreeItemRef CPellixTreeView::ItemDownTo(const dom::Node &node, bool bMake) const
{
    std::vector<dom::Node> chain;
    for (dom::Node up = node; up; up = up.parentNode())
        chain.push_back(up);
    CTreeItemRef item = GetRootItem();
    if (item.IsNull() || !(item.GetNode() == chain.back()))
        return {};
    for (auto step = chain.rbegin() + 1; step != chain.rend() && item; ++step) {
        if (!bMake) {
            item = FindChildItem(item, *step);
            continue;
        }
        // Asking for the children makes the items of each parent on the way.
        CTreeItemRef child = item.GetFirstChild();
        while (child && !(child.GetNode() == *step))
            child = child.GetNextSibling();
        item = child;
    }
    return item;
}

namespace
{
// An item stands among its siblings' items as its node does among the elements.
int ElementRow(const dom::Node &node)
{
    int nRow = 0;
    for (dom::Node before = node.previousSibling(); before; before = before.previousSibling())
        nRow += before.nodeType() == dom::NODE_ELEMENT ? 1 : 0;
    return nRow;
}
} // namespace

bool CPellixTreeView::FollowsChildren(const CTreeItemRef &item)
{
    if (item.IsNull())
        return false;
    if (m_pModel->IsFilled(item.GetId()))
        return true;
    // Its children's items are made from the DOM as it is when they are asked for.
    m_pModel->ChildrenChanged(item.GetId());
    return false;
}

void CPellixTreeView::AddItemsFor(const CTreeItemRef &parent, const dom::Node &node)
{
    // The subtree's own items are made when they are first asked for.
    m_pModel->InsertNewItem(parent.GetId(), node, IMG_ELEMENT, QString::fromUtf8(node.nodeName()),
                            ElementRow(node), true);
}

void CPellixTreeView::MoveItemsFor(const CDocumentEdit &edit)
{
    const CTreeItemRef oldParent = FindItem(edit.oldParent);
    const CTreeItemRef item =
        FollowsChildren(oldParent) ? FindChildItem(oldParent, edit.node) : CTreeItemRef();
    const CTreeItemRef parent = FindItem(edit.parent);
    if (item.IsNull()) {
        if (FollowsChildren(parent))
            AddItemsFor(parent, edit.node);
        return;
    }
    if (parent.IsNull()) {
        ForgetSubtree(item);
        m_pModel->RemoveItem(item.GetId());
        return;
    }
    // The moved item keeps its identity: its new siblings get their items first.
    m_pModel->FillWithout(parent.GetId(), edit.node.view());
    // The items keep their identity, so the selection, the rows shown and the marks that name
    // them stay valid.
    const int nOldDepth = m_pModel->DepthOf(item.GetId());
    m_pModel->MoveItem(item.GetId(), parent.GetId(), ElementRow(edit.node));
    if (m_pModel->DepthOf(item.GetId()) > nOldDepth)
        CollapseTooDeep(item);
}

void CPellixTreeView::CollapseTooDeep(const CTreeItemRef &top)
{
    std::vector<CTreeItemModel::ItemId> pending{top.GetId()};
    while (!pending.empty()) {
        const CTreeItemModel::ItemId id = pending.back();
        pending.pop_back();
        if (m_pModel->DepthOf(id) >= kMaxShownDepth) {
            collapse(m_pModel->IndexOf(id));
            continue;
        }
        // Items made later get their depth then, and a view closes them as they open.
        for (int nRow = 0; nRow < m_pModel->FilledChildCount(id); ++nRow)
            pending.push_back(m_pModel->ChildAt(id, nRow));
    }
}

void CPellixTreeView::OnDocumentEdited(const CDocumentEdit &edit)
{
    switch (edit.kind) {
    case CDocumentEdit::Kind::Insert: {
        if (edit.node.nodeType() != dom::NODE_ELEMENT)
            return;
        const CTreeItemRef parent = FindItem(edit.parent);
        if (FollowsChildren(parent) && FindChildItem(parent, edit.node).IsNull())
            AddItemsFor(parent, edit.node);
        return;
    }
    case CDocumentEdit::Kind::Remove: {
        const CTreeItemRef parent = FindItem(edit.parent);
        const CTreeItemRef item =
            FollowsChildren(parent) ? FindChildItem(parent, edit.node) : CTreeItemRef();
        if (item.IsNull())
            return;
        ForgetSubtree(item);
        m_pModel->RemoveItem(item.GetId());
        return;
    }
    case CDocumentEdit::Kind::Move:
        if (edit.node.nodeType() == dom::NODE_ELEMENT)
            MoveItemsFor(edit);
        return;
    case CDocumentEdit::Kind::Replace: {
        // Renames act on the current item: no search for it then.
        const CTreeItemRef item = m_itemCurrent.GetNode() == edit.oldNode
                                      ? m_itemCurrent
                                      : FindChildItem(FindItem(edit.parent), edit.oldNode);
        if (!item.IsNull())
            item.SetNode(edit.node);
        return;
    }
    case CDocumentEdit::Kind::SetRows: {
        // A stored tooltip follows the attributes it lists.
        const CTreeItemRef item = FindItem(edit.node);
        if (!item.IsNull() && m_pModel->StoredTip(item.GetId()) != nullptr)
            SetItemTip(item, AttributeTipText(edit.node.view()));
        return;
    }
    }
}
