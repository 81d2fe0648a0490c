#include "BuildTreeFromDOM.h"

#include "PellixTreeView.h"
#include "TreeItemModel.h"
#include "TreeItemRef.h"

#include <climits>

namespace
{

// One item, announced at once; the items below it are made when first asked for.
void AddNodeItem(CTreeItemModel *pModel, CTreeItemModel::ItemId parent, dom::NodeView node,
                 int nImage)
{
    pModel->InsertItem(pModel->NewItem(parent, node, nImage, true), INT_MAX);
}

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
    switch (node.nodeType()) {
    case dom::NODE_DOCUMENT:
        AddNodeItem(pModel, CTreeItemModel::kRootId, node.view(), CPellixTreeView::IMG_DOCUMENT);
        return;
    case dom::NODE_ELEMENT:
        // A detached element has no place in the tree.
        if (!node.parentNode().isNull())
            AddNodeItem(pModel, parent.GetId(), node.view(), CPellixTreeView::IMG_ELEMENT);
        return;
    default:
        // Other nodes have no item; their element children (a fragment's) go under `parent`.
        for (dom::NodeView child = node.view().firstChild(); child; child = child.nextSibling()) {
            if (child.nodeType() == dom::NODE_ELEMENT)
                AddNodeItem(pModel, parent.GetId(), child, CPellixTreeView::IMG_ELEMENT);
        }
        return;
    }
}
