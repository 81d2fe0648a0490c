#pragma once

#include "Node.h"
#include "TreeItemModel.h"

#include <vector>

// A walk over an item and everything under it, in the order the tree shows them, that makes no
// items: beneath an item whose children are not made yet it reads the elements themselves.
// MakeItem() makes the item of the element visited, with its ancestors' on the way, when the
// caller needs one; each parent's items are made once, however many of its children are asked.
class CTreeItemWalk
{
public:
    CTreeItemWalk(const CTreeItemModel *pModel, CTreeItemModel::ItemId start);

    // Moves on to the next element (the start first); false at the end.
    bool Next();
    dom::NodeView Node() const { return m_path.back().node; }
    // The item of the element visited, or kRootId when it is not made.
    CTreeItemModel::ItemId Item() const { return m_path.back().id; }
    CTreeItemModel::ItemId MakeItem();

private:
    struct Step {
        dom::NodeView node;
        CTreeItemModel::ItemId id = CTreeItemModel::kRootId;
        // Among its parent's items, and how deep under the start.
        int nRow = 0;
        std::size_t nDepth = 0;
    };
    void PushChildren();

    const CTreeItemModel *m_pModel;
    // Explicit stacks: documents may nest far deeper than the call stack. m_path holds the
    // element visited and its ancestors up to the start.
    std::vector<Step> m_pending;
    std::vector<Step> m_path;
    std::vector<dom::NodeView> m_elements;
};
