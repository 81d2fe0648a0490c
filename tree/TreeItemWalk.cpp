#include "TreeItemWalk.h"

CTreeItemWalk::CTreeItemWalk(const CTreeItemModel *pModel, CTreeItemModel::ItemId start)
    : m_pModel(pModel)
{
    if (start != CTreeItemModel::kRootId)
        m_pending.push_back({pModel->NodeViewOf(start), start, 0, 0});
}

bool CTreeItemWalk::Next()
{
    if (!m_path.empty())
        PushChildren();
    if (m_pending.empty())
        return false;
    const Step step = m_pending.back();
    m_pending.pop_back();
    m_path.resize(step.nDepth);
    m_path.push_back(step);
    return true;
}

void CTreeItemWalk::PushChildren()
{
    const Step &current = m_path.back();
    const std::size_t nDepth = current.nDepth + 1;
    if (current.id != CTreeItemModel::kRootId && m_pModel->IsFilled(current.id)) {
        for (int nRow = m_pModel->ChildCount(current.id) - 1; nRow >= 0; --nRow) {
            const CTreeItemModel::ItemId child = m_pModel->ChildAt(current.id, nRow);
            m_pending.push_back({m_pModel->NodeViewOf(child), child, nRow, nDepth});
        }
        return;
    }
    // The items an unfilled item would get: its element children, in order.
    m_elements.clear();
    for (dom::NodeView child = current.node.firstChild(); child; child = child.nextSibling()) {
        if (child.nodeType() == dom::NODE_ELEMENT)
            m_elements.push_back(child);
    }
    for (int nRow = static_cast<int>(m_elements.size()) - 1; nRow >= 0; --nRow)
        m_pending.push_back(
            {m_elements[static_cast<std::size_t>(nRow)], CTreeItemModel::kRootId, nRow, nDepth});
}

CTreeItemModel::ItemId CTreeItemWalk::MakeItem()
{
    if (m_path.empty())
        return CTreeItemModel::kRootId;
    // The nearest ancestor with an item (the start has one), then down from it: asking a parent
    // for a child makes all its children's items.
    std::size_t nKnown = m_path.size() - 1;
    while (nKnown > 0 && m_path[nKnown].id == CTreeItemModel::kRootId)
        --nKnown;
    for (std::size_t i = nKnown + 1; i < m_path.size(); ++i)
        m_path[i].id = m_pModel->ChildAt(m_path[i - 1].id, m_path[i].nRow);
    return m_path.back().id;
}
