#include "TreeItemRef.h"

using ItemId = CTreeItemModel::ItemId;

CTreeItemRef::CTreeItemRef(CTreeItemModel *pModel, ItemId id)
{
    if (pModel == nullptr || id == CTreeItemModel::kRootId)
        return;
    m_pModel = pModel;
    m_nId = id;
    m_nGeneration = pModel->GenerationOf(id);
    m_nEpoch = pModel->Epoch();
    if (!pModel->IsLive(id, m_nGeneration, m_nEpoch))
        *this = CTreeItemRef();
}

bool CTreeItemRef::IsNull() const
{
    return m_pModel == nullptr || !m_pModel->IsLive(m_nId, m_nGeneration, m_nEpoch);
}

bool operator==(const CTreeItemRef &a, const CTreeItemRef &b)
{
    const bool bNullA = a.IsNull();
    if (bNullA || b.IsNull())
        return bNullA == b.IsNull();
    return a.m_pModel == b.m_pModel && a.m_nId == b.m_nId;
}

CTreeItemModel *CTreeItemRef::GetModel() const
{
    return IsNull() ? nullptr : m_pModel.data();
}

ItemId CTreeItemRef::GetId() const
{
    return IsNull() ? CTreeItemModel::kRootId : m_nId;
}

CTreeItemRef CTreeItemRef::Wrap(ItemId id) const
{
    return CTreeItemRef(GetModel(), id);
}

CTreeItemRef CTreeItemRef::GetParent() const
{
    return IsNull() ? CTreeItemRef() : Wrap(m_pModel->ParentOf(m_nId));
}

CTreeItemRef CTreeItemRef::GetFirstChild() const
{
    return IsNull() ? CTreeItemRef() : Wrap(m_pModel->ChildAt(m_nId, 0));
}

CTreeItemRef CTreeItemRef::GetNextSibling() const
{
    if (IsNull())
        return {};
    return Wrap(m_pModel->ChildAt(m_pModel->ParentOf(m_nId), m_pModel->RowOf(m_nId) + 1));
}

CTreeItemRef CTreeItemRef::GetPrevSibling() const
{
    if (IsNull())
        return {};
    return Wrap(m_pModel->ChildAt(m_pModel->ParentOf(m_nId), m_pModel->RowOf(m_nId) - 1));
}

int CTreeItemRef::GetChildCount() const
{
    return IsNull() ? 0 : m_pModel->ChildCount(m_nId);
}

bool CTreeItemRef::Contains(const CTreeItemRef &other) const
{
    if (IsNull() || other.GetModel() != m_pModel)
        return false;
    for (ItemId id = other.m_nId; id != CTreeItemModel::kRootId; id = m_pModel->ParentOf(id)) {
        if (id == m_nId)
            return true;
    }
    return false;
}

QString CTreeItemRef::GetLabel() const
{
    return IsNull() ? QString() : m_pModel->LabelOf(m_nId);
}

int CTreeItemRef::GetImage() const
{
    return IsNull() ? -1 : m_pModel->ImageOf(m_nId);
}

void CTreeItemRef::SetImage(int nImage) const
{
    if (!IsNull())
        m_pModel->SetImage(m_nId, nImage);
}

dom::Node CTreeItemRef::GetNode() const
{
    return IsNull() ? dom::Node() : m_pModel->NodeOf(m_nId);
}

bool CTreeItemRef::SetNode(const dom::Node &node) const
{
    return !IsNull() && m_pModel->SetNode(m_nId, node);
}

CTreeItemRef CTreeItemRef::InsertChild(const QString &strLabel, int nImage, const dom::Node &node,
                                       Where where) const
{
    return InsertChildAt(where == Where::First ? 0 : GetChildCount(), strLabel, nImage, node);
}

CTreeItemRef CTreeItemRef::InsertChildAfter(const CTreeItemRef &after, const QString &strLabel,
                                            int nImage, const dom::Node &node) const
{
    if (IsNull() || !(after.GetParent() == *this))
        return {};
    return InsertChildAt(m_pModel->RowOf(after.m_nId) + 1, strLabel, nImage, node);
}

CTreeItemRef CTreeItemRef::InsertChildAt(int nRow, const QString &strLabel, int nImage,
                                         const dom::Node &node) const
{
    if (IsNull())
        return {};
    return Wrap(m_pModel->InsertNewItem(m_nId, node, nImage < 0 ? 0 : nImage, strLabel, nRow));
}
