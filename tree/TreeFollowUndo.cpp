// The tree pane and Undo/Redo: after a step is replayed, the window the user works in selects
// the node the step leaves him at (the restored item, or the parent of one taken away again)
// with its parent expanded; while a label is edited, the two commands act on its text.

#include "PellixTreeView.h"

#include "EditorUndo.h"
#include "PellixDoc.h"
#include "Resource.h"

#include <QLineEdit>

void CPellixTreeView::OnReplayed(const dom::Node &focus)
{
    // Other windows of the document follow the items, not the selection.
    const auto *pDoc = qobject_cast<CPellixDoc *>(GetDocument());
    if (pDoc != nullptr && m_pEdit != nullptr && pDoc->GetActiveEditContext() != m_pEdit)
        return;
    // Character data has no item: its element's stands for it.
    CTreeItemRef item;
    for (dom::Node node = focus; node && item.IsNull(); node = node.parentNode())
        item = MakeItemFor(node);
    if (item.IsNull())
        return;
    if (const CTreeItemRef parent = item.GetParent(); !parent.IsNull())
        expand(IndexFromItem(parent));
    SelectItem(item);
    scrollTo(IndexFromItem(item));
}

bool CPellixTreeView::OnCmdMsg(int nID, CCmdUI *pUpdate)
{
    if ((nID == ID_EDIT_UNDO || nID == ID_EDIT_REDO) && m_bEditingLabel) {
        EditorUndoCommand(GetLabelEditor(), nID, pUpdate);
        return true;
    }
    return CView::OnCmdMsg(nID, pUpdate);
}
