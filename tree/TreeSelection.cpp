// The tree pane's selection: filling the window's edit context with the rows of the selected
// node, writing edited rows back when the selection leaves it, and forgetting items about to
// be deleted.

#include "PellixTreeView.h"

#include "EditContext.h"
#include "MessageBox.h"
#include "NodeRows.h"

namespace
{

bool ShowsRows(int nImage)
{
    return nImage == CPellixTreeView::IMG_DOCUMENT || nImage == CPellixTreeView::IMG_ELEMENT ||
           nImage == CPellixTreeView::IMG_CUT;
}

} // namespace

void CPellixTreeView::OnCurrentChanged(const QModelIndex &current)
{
    m_itemCurrent = ItemFromIndex(current);
    // The rows always leave with the item they came from, so they are never written into
    // another node, whatever the new item is.
    if (!m_itemPrevious.IsNull())
        CommitItem(m_itemPrevious);
    const bool bFill = ShowsRows(m_itemCurrent.GetImage()) && m_pEdit != nullptr;
    if (bFill)
        FillGrid(m_itemCurrent.GetNode());
    else if (m_pEdit != nullptr)
        m_pEdit->Clear();
    m_itemPrevious = bFill ? m_itemCurrent : CTreeItemRef();
}

void CPellixTreeView::FillGrid(const dom::Node &node)
{
    if (m_pEdit != nullptr && !node.isNull())
        m_pEdit->Fill(node);
}

void CPellixTreeView::CommitItem(const CTreeItemRef &item)
{
    // Only the item the grid shows is ever written, and only when its rows were edited.
    if (item.IsNull() || !(item == m_itemPrevious) || m_pEdit == nullptr ||
        !(m_pEdit->GetNode() == item.GetNode()))
        return;
    if (const std::optional<CRowsCommit> result = m_pEdit->Commit())
        ReportRefusedRows(item, *result);
}

void CPellixTreeView::ReportRefusedRows(const CTreeItemRef &item, const CRowsCommit &result)
{
    for (const CRefusedRow &refused : result.refused)
        AfxMessageBox(RefusedRowMessage(refused));
    SetItemTip(item, result.strTip);
}

void CPellixTreeView::DropShownRows()
{
    if (m_pEdit != nullptr)
        m_pEdit->Clear();
    m_itemPrevious = CTreeItemRef();
}

void CPellixTreeView::ForgetSubtree(const CTreeItemRef &item)
{
    // The rows of a node leaving the document are dropped, never written anywhere.
    if (item.Contains(m_itemPrevious))
        DropShownRows();
    if (!item.Contains(GetSelectedItem()))
        return;
    CTreeItemRef next = item.GetNextSibling();
    if (next.IsNull())
        next = item.GetPrevSibling();
    if (next.IsNull())
        next = item.GetParent();
    SelectItem(next);
}
