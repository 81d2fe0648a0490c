#include "TreeItemModel.h"

#include "Images.h"

#include <algorithm>
#include <cstdint>

namespace
{
// The picture of an element item (the tree pane's IMG_ELEMENT).
constexpr int kElementImage = 1;
} // namespace

CTreeItemModel::CTreeItemModel(QObject *pParent) : QAbstractItemModel(pParent)
{
    InitStorage();
}

CTreeItemModel::~CTreeItemModel() = default;

void CTreeItemModel::InitStorage()
{
    m_pages.clear();
    m_freeSlots.clear();
    m_nSlots = 0;
    m_labels.clear();
    m_tips.clear();
    m_document = dom::Node();
    const ItemId root = AllocateSlot();
    Q_ASSERT(root == kRootId);
    At(root).bUsed = true;
}

CTreeItemModel::ItemId CTreeItemModel::AllocateSlot()
{
    if (!m_freeSlots.empty()) {
        const ItemId id = m_freeSlots.back();
        m_freeSlots.pop_back();
        return id;
    }
    const ItemId id = m_nSlots++;
    if ((id >> kPageBits) >= m_pages.size())
        m_pages.push_back(std::make_unique<Item[]>(kPageSize));
    return id;
}

QModelIndex CTreeItemModel::index(int nRow, int nColumn, const QModelIndex &parent) const
{
    if (nColumn != 0 || nRow < 0 || (parent.isValid() && parent.column() != 0))
        return {};
    const ItemId child = ChildAt(IdOf(parent), nRow);
    return child == kRootId ? QModelIndex() : createIndex(nRow, 0, quintptr(child));
}

QModelIndex CTreeItemModel::parent(const QModelIndex &child) const
{
    if (!child.isValid())
        return {};
    return IndexOf(At(IdOf(child)).parent);
}

int CTreeItemModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return 0;
    return ChildCount(IdOf(parent));
}

int CTreeItemModel::columnCount(const QModelIndex &) const
{
    return 1;
}

bool CTreeItemModel::hasChildren(const QModelIndex &parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return false;
    const ItemId id = IdOf(parent);
    const Item &item = At(id);
    if (item.bFilled)
        return !item.children.empty();
    // Views ask this of every item they lay out: the DOM answers without making items.
    for (dom::NodeView child = item.node.firstChild(); child; child = child.nextSibling()) {
        if (child.nodeType() == dom::NODE_ELEMENT)
            return true;
    }
    return false;
}

QVariant CTreeItemModel::data(const QModelIndex &index, int nRole) const
{
    if (!index.isValid())
        return {};
    const ItemId id = IdOf(index);
    switch (nRole) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return LabelOf(id);
    case Qt::DecorationRole: {
        const int nImage = ImageOf(id);
        if (nImage < 0 || nImage >= static_cast<int>(m_images.size()))
            return {};
        if (m_images[nImage].isNull())
            m_images[nImage] = TreeIcon(nImage);
        return m_images[nImage];
    }
    default:
        return {};
    }
}

Qt::ItemFlags CTreeItemModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags itemFlags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    // Only elements can be renamed; the document item's label names no changeable node.
    if (At(IdOf(index)).node.nodeType() == dom::NODE_ELEMENT)
        itemFlags |= Qt::ItemIsEditable;
    return itemFlags;
}

bool CTreeItemModel::setData(const QModelIndex &index, const QVariant &value, int nRole)
{
    if (!index.isValid() || nRole != Qt::EditRole || !m_fnRename)
        return false;
    // The handler may change the tree, so it runs from a copy.
    const auto fnRename = m_fnRename;
    return fnRename(IdOf(index), value.toString());
}

void CTreeItemModel::SetRenameHandler(std::function<bool(ItemId, const QString &)> fnRename)
{
    m_fnRename = std::move(fnRename);
}

CTreeItemModel::ItemId CTreeItemModel::IdOf(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != this || index.internalId() >= m_nSlots)
        return kRootId;
    return static_cast<ItemId>(index.internalId());
}

QModelIndex CTreeItemModel::IndexOf(ItemId id) const
{
    if (id == kRootId || id >= m_nSlots || !At(id).bUsed)
        return {};
    return createIndex(static_cast<int>(At(id).nRow), 0, quintptr(id));
}

bool CTreeItemModel::IsLive(ItemId id, std::uint32_t nGeneration, std::uint32_t nEpoch) const
{
    return id != kRootId && id < m_nSlots && nEpoch == m_nEpoch && At(id).bUsed &&
           At(id).nGeneration == nGeneration;
}

std::uint32_t CTreeItemModel::GenerationOf(ItemId id) const
{
    return id < m_nSlots ? At(id).nGeneration : 0;
}

CTreeItemModel::ItemId CTreeItemModel::ParentOf(ItemId id) const
{
    return id < m_nSlots ? At(id).parent : kRootId;
}

int CTreeItemModel::RowOf(ItemId id) const
{
    return id < m_nSlots ? static_cast<int>(At(id).nRow) : -1;
}

int CTreeItemModel::ChildCount(ItemId id) const
{
    if (id >= m_nSlots)
        return 0;
    Fill(id);
    return static_cast<int>(At(id).children.size());
}

CTreeItemModel::ItemId CTreeItemModel::ChildAt(ItemId id, int nRow) const
{
    if (id >= m_nSlots || nRow < 0 || nRow >= ChildCount(id))
        return kRootId;
    return At(id).children[static_cast<std::size_t>(nRow)];
}

bool CTreeItemModel::IsFilled(ItemId id) const
{
    return id < m_nSlots && At(id).bFilled;
}

int CTreeItemModel::FilledChildCount(ItemId id) const
{
    return id < m_nSlots ? static_cast<int>(At(id).children.size()) : 0;
}

void CTreeItemModel::ChildrenChanged(ItemId id)
{
    NotifyChanged(id);
}

void CTreeItemModel::FillWithout(ItemId id, dom::NodeView skip)
{
    if (id < m_nSlots)
        Fill(id, skip);
}

void CTreeItemModel::Fill(ItemId id, dom::NodeView skip) const
{
    if (At(id).bFilled)
        return;
    auto *pSelf = const_cast<CTreeItemModel *>(this);
    const dom::NodeView node = At(id).node;
    std::size_t nElements = 0;
    for (dom::NodeView child = node.firstChild(); child; child = child.nextSibling())
        nElements += child.nodeType() == dom::NODE_ELEMENT ? 1 : 0;
    pSelf->At(id).children.reserve(nElements);
    for (dom::NodeView child = node.firstChild(); child; child = child.nextSibling()) {
        if (child.nodeType() != dom::NODE_ELEMENT || child == skip)
            continue;
        const ItemId childId = pSelf->NewItem(id, child, kElementImage, true);
        // NewItem may add a page of items, never moving the ones there are.
        Item &parentItem = pSelf->At(id);
        pSelf->At(childId).nRow = static_cast<std::uint32_t>(parentItem.children.size());
        parentItem.children.push_back(childId);
    }
    pSelf->At(id).bFilled = true;
}

int CTreeItemModel::ImageOf(ItemId id) const
{
    return id == kRootId || id >= m_nSlots ? -1 : At(id).nImage;
}

int CTreeItemModel::DepthOf(ItemId id) const
{
    return id < m_nSlots ? At(id).nDepth : 0;
}

void CTreeItemModel::SetImage(ItemId id, int nImage)
{
    if (id == kRootId || id >= m_nSlots)
        return;
    At(id).nImage = static_cast<std::uint8_t>(nImage);
    NotifyChanged(id);
}

dom::Node CTreeItemModel::NodeOf(ItemId id) const
{
    if (id == kRootId || id >= m_nSlots)
        return {};
    return At(id).node.node(m_document);
}

dom::NodeView CTreeItemModel::NodeViewOf(ItemId id) const
{
    return id == kRootId || id >= m_nSlots ? dom::NodeView() : At(id).node;
}

bool CTreeItemModel::AdoptDocument(const dom::Node &node)
{
    if (node.isNull())
        return false;
    if (m_document.isNull())
        m_document = node;
    return !node.view().node(m_document).isNull();
}

bool CTreeItemModel::SetNode(ItemId id, const dom::Node &node)
{
    if (id == kRootId || id >= m_nSlots || !AdoptDocument(node))
        return false;
    At(id).node = node.view();
    m_labels.erase(id);
    NotifyChanged(id);
    return true;
}

QString CTreeItemModel::LabelOf(ItemId id) const
{
    if (id == kRootId || id >= m_nSlots)
        return {};
    if (const QString *pLabel = StoredLabel(id))
        return *pLabel;
    return QString::fromUtf8(At(id).node.nodeName());
}

const QString *CTreeItemModel::StoredLabel(ItemId id) const
{
    if (m_labels.empty())
        return nullptr;
    const auto found = m_labels.find(id);
    return found == m_labels.end() ? nullptr : &found->second;
}

void CTreeItemModel::SetLabel(ItemId id, const QString &strLabel)
{
    if (id == kRootId || id >= m_nSlots)
        return;
    if (strLabel == QString::fromUtf8(At(id).node.nodeName()))
        m_labels.erase(id);
    else
        m_labels[id] = strLabel;
}

const QString *CTreeItemModel::StoredTip(ItemId id) const
{
    const auto found = m_tips.find(id);
    return found == m_tips.end() ? nullptr : &found->second;
}

void CTreeItemModel::SetTip(ItemId id, const QString &strText)
{
    if (id != kRootId && id < m_nSlots)
        m_tips[id] = strText;
}

CTreeItemModel::ItemId CTreeItemModel::NewItem(ItemId parent, dom::NodeView node, int nImage,
                                               bool bFromDom)
{
    const ItemId id = AllocateSlot();
    Item &item = At(id);
    item.node = node;
    item.parent = parent;
    item.nRow = 0;
    item.nImage = static_cast<std::uint8_t>(nImage);
    item.bUsed = true;
    item.bFilled = !bFromDom;
    const std::uint16_t nParentDepth = At(parent).nDepth;
    item.nDepth = nParentDepth == UINT16_MAX ? nParentDepth : nParentDepth + 1;
    return id;
}

void CTreeItemModel::InsertItem(ItemId id, int nRow)
{
    const ItemId parent = At(id).parent;
    nRow = std::clamp(nRow, 0, ChildCount(parent));
    beginInsertRows(IndexOf(parent), nRow, nRow);
    std::vector<ItemId> &siblings = At(parent).children;
    siblings.insert(siblings.begin() + nRow, id);
    RenumberFrom(parent, nRow);
    endInsertRows();
}

CTreeItemModel::ItemId CTreeItemModel::InsertNewItem(ItemId parent, const dom::Node &node,
                                                     int nImage, const QString &strLabel, int nRow,
                                                     bool bFromDom)
{
    if (!AdoptDocument(node))
        return kRootId;
    const ItemId id = NewItem(parent, node.view(), nImage, bFromDom);
    SetLabel(id, strLabel);
    InsertItem(id, nRow);
    return id;
}

void CTreeItemModel::RenumberFrom(ItemId parent, int nRow)
{
    const std::vector<ItemId> &siblings = At(parent).children;
    for (std::size_t i = static_cast<std::size_t>(nRow); i < siblings.size(); ++i)
        At(siblings[i]).nRow = static_cast<std::uint32_t>(i);
}

bool CTreeItemModel::MoveItem(ItemId id, ItemId parent, int nRow)
{
    if (id == kRootId || id >= m_nSlots || !At(id).bUsed || parent >= m_nSlots || !At(parent).bUsed)
        return false;
    for (ItemId up = parent; up != kRootId; up = At(up).parent) {
        if (up == id)
            return false;
    }
    const ItemId oldParent = At(id).parent;
    const int nOldRow = RowOf(id);
    const int nLastRow = ChildCount(parent) - (parent == oldParent ? 1 : 0);
    nRow = std::clamp(nRow, 0, nLastRow);
    if (parent == oldParent && nRow == nOldRow)
        return false;
    // Views count the destination before the item leaves its old place.
    const int nDestination = parent == oldParent && nRow > nOldRow ? nRow + 1 : nRow;
    if (!beginMoveRows(IndexOf(oldParent), nOldRow, nOldRow, IndexOf(parent), nDestination))
        return false;
    std::vector<ItemId> &oldSiblings = At(oldParent).children;
    oldSiblings.erase(oldSiblings.begin() + nOldRow);
    RenumberFrom(oldParent, nOldRow);
    std::vector<ItemId> &siblings = At(parent).children;
    siblings.insert(siblings.begin() + nRow, id);
    RenumberFrom(parent, std::min(nRow, parent == oldParent ? nOldRow : nRow));
    At(id).parent = parent;
    UpdateDepths(id);
    endMoveRows();
    return true;
}

void CTreeItemModel::UpdateDepths(ItemId id)
{
    // Iterative: documents may nest far deeper than the call stack allows.
    std::vector<ItemId> pending{id};
    while (!pending.empty()) {
        Item &item = At(pending.back());
        pending.pop_back();
        const std::uint16_t nParentDepth = At(item.parent).nDepth;
        item.nDepth = nParentDepth == UINT16_MAX ? nParentDepth : nParentDepth + 1;
        // Children made later take their depth from the item then.
        pending.insert(pending.end(), item.children.begin(), item.children.end());
    }
}

void CTreeItemModel::RemoveItem(ItemId id)
{
    if (id == kRootId || id >= m_nSlots || !At(id).bUsed)
        return;
    const ItemId parent = At(id).parent;
    const int nRow = RowOf(id);
    beginRemoveRows(IndexOf(parent), nRow, nRow);
    std::vector<ItemId> &siblings = At(parent).children;
    siblings.erase(siblings.begin() + nRow);
    RenumberFrom(parent, nRow);
    FreeSubtree(id);
    endRemoveRows();
}

void CTreeItemModel::FreeSubtree(ItemId id)
{
    // Iterative: documents may nest far deeper than the call stack allows.
    std::vector<ItemId> pending{id};
    while (!pending.empty()) {
        const ItemId next = pending.back();
        pending.pop_back();
        Item &item = At(next);
        pending.insert(pending.end(), item.children.begin(), item.children.end());
        std::vector<ItemId>().swap(item.children);
        item.node = dom::NodeView();
        item.bUsed = false;
        ++item.nGeneration;
        if (!m_labels.empty())
            m_labels.erase(next);
        if (!m_tips.empty())
            m_tips.erase(next);
        m_freeSlots.push_back(next);
    }
}

void CTreeItemModel::Clear()
{
    beginResetModel();
    ++m_nEpoch;
    InitStorage();
    endResetModel();
}

void CTreeItemModel::NotifyChanged(ItemId id)
{
    const QModelIndex index = IndexOf(id);
    if (index.isValid())
        emit dataChanged(index, index);
}
