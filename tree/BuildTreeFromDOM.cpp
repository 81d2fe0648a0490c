#include "BuildTreeFromDOM.h"

#include "PellixTreeView.h"
#include "TreeItemModel.h"
#include "TreeItemRef.h"

#include <climits>
#include <vector>

namespace
{

using ItemId = CTreeItemModel::ItemId;
constexpr ItemId kNoItem = CTreeItemModel::kRootId;

// Depth-first walk with an explicit stack. A new item whose parent the views already know is
// the top of a new subtree: it is announced once its subtree is complete. Items below it are
// appended unseen, so a whole document costs the views a single insertion.
class TreeBuilder
{
public:
    TreeBuilder(CTreeItemModel *pModel, ItemId parent) : m_pModel(pModel), m_parent(parent) {}

    void Run(dom::NodeView root)
    {
        Enter(root, m_parent, false);
        while (!m_stack.empty()) {
            Frame &frame = m_stack.back();
            if (frame.next.isNull()) {
                const ItemId pendingTop = frame.pendingTop;
                m_stack.pop_back();
                Announce(pendingTop);
                continue;
            }
            const dom::NodeView node = frame.next;
            frame.next = node.nextSibling();
            Enter(node, frame.parent, frame.bUnseen);
        }
    }

private:
    struct Frame {
        dom::NodeView next; // the next child to walk
        ItemId parent;      // the item its items go under
        ItemId pendingTop;  // announced when the frame is done; kNoItem for none
        bool bUnseen;       // `parent` is not yet known to the views
    };

    void Enter(dom::NodeView node, ItemId parent, bool bParentUnseen)
    {
        const ItemId item = Visit(node, parent);
        if (item != kNoItem && bParentUnseen)
            m_pModel->AppendUnseen(item);
        const ItemId pendingTop = item != kNoItem && !bParentUnseen ? item : kNoItem;
        const dom::NodeView first = node.firstChild();
        if (first.isNull()) {
            Announce(pendingTop);
            return;
        }
        m_stack.push_back(
            {first, item != kNoItem ? item : parent, pendingTop, bParentUnseen || item != kNoItem});
    }

    ItemId Visit(dom::NodeView node, ItemId parent)
    {
        ItemId item = kNoItem;
        switch (node.nodeType()) {
        case dom::NODE_DOCUMENT:
            item = m_pModel->NewItem(CTreeItemModel::kRootId, node, 0);
            break;
        case dom::NODE_ELEMENT:
            if (node.parentNode().isNull())
                return kNoItem;
            item = m_pModel->NewItem(parent, node, 1);
            break;
        default:
            return kNoItem;
        }
        std::size_t nElements = 0;
        for (dom::NodeView child = node.firstChild(); child; child = child.nextSibling())
            nElements += child.nodeType() == dom::NODE_ELEMENT ? 1 : 0;
        m_pModel->ReserveChildren(item, nElements);
        return item;
    }

    void Announce(ItemId item)
    {
        if (item != kNoItem)
            m_pModel->InsertItem(item, INT_MAX);
    }

    CTreeItemModel *const m_pModel;
    const ItemId m_parent;
    std::vector<Frame> m_stack;
};

} // namespace

void BuildTreeFromDOM(const dom::Node &node, [[maybe_unused]] int nDepth, CPellixTreeView *pTree,
                      const CTreeItemRef &parent)
{
    if (pTree == nullptr)
        return;
    CTreeItemModel *pModel = pTree->GetItemModel();
    if (!parent.IsNull() && parent.GetModel() != pModel)
        return;
    if (!pModel->AdoptDocument(node))
        return;
    TreeBuilder(pModel, parent.GetId()).Run(node.view());
}
