// The tree pane's selection: filling the grid with the rows of the selected node, writing
// edited rows back when the selection leaves it, and forgetting items about to be deleted.

#include "PellixTreeView.h"

#include "NodeRows.h"
#include "PellixGridView.h"
#include "PellixView.h"

#include <vector>

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
    if (m_pText != nullptr)
        m_pText->SetLocked(1);
    m_itemCurrent = ItemFromIndex(current);
    if (m_pGrid != nullptr)
        m_pGrid->SetRedraw(false);
    EndGridEdit();
    // The rows always leave with the item they came from, so they are never written into
    // another node, whatever the new item is.
    if (!m_itemPrevious.IsNull())
        CommitItem(m_itemPrevious);
    if (m_pGrid != nullptr)
        m_pGrid->DeleteAllRows();
    const bool bFill = ShowsRows(m_itemCurrent.GetImage());
    if (bFill)
        FillGrid(m_itemCurrent.GetNode());
    if (m_pGrid != nullptr)
        m_pGrid->SetRedraw(true);
    m_itemPrevious = bFill ? m_itemCurrent : CTreeItemRef();
}

void CPellixTreeView::FillGrid(const dom::Node &node)
{
    if (m_pGrid == nullptr || node.isNull())
        return;
    m_pGrid->BeginFill();
    int nPos = 0;
    ForEachNodeRow(
        node.view(), [this, &nPos](int nKind, std::string_view strName, std::string_view strValue) {
            m_pGrid->AddRow(nPos++, nKind, QString::fromUtf8(strName), QString::fromUtf8(strValue));
        });
    m_pGrid->AddRow(nPos, dom::NODE_ATTRIBUTE, QString(), QString());
    m_pGrid->EndFill();
}

void CPellixTreeView::CommitItem(const CTreeItemRef &item)
{
    // Rows that were only looked at leave the node exactly as it was.
    if (item.IsNull() || !(item == m_itemPrevious) || m_pGrid == nullptr ||
        !m_pGrid->AreRowsEdited())
        return;
    const dom::Node node = item.GetNode();
    if (node.isNull())
        return;
    std::vector<GridRow> rows;
    rows.reserve(static_cast<std::size_t>(m_pGrid->GetRowCount()));
    for (int nRow = 0; nRow < m_pGrid->GetRowCount(); ++nRow) {
        if (const GridRow *pRow = m_pGrid->GetRow(nRow))
            rows.push_back(*pRow);
    }
    SetItemTip(item, WriteRowsIntoNode(node, rows));
}

void CPellixTreeView::DropShownRows()
{
    if (m_pGrid != nullptr)
        m_pGrid->DeleteAllRows();
    if (m_pText != nullptr)
        m_pText->SetLocked(1);
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
