#include "GridListModel.h"

#include "GridListConstants.h"
#include "GridListView.h"

#include <QHeaderView>
#include <algorithm>

CGridListModel::CGridListModel(CGridListView *pList) : QAbstractTableModel(pList), m_pList(pList) {}

CGridListModel::~CGridListModel() = default;

int CGridListModel::InsertItem(int nPos, quintptr nDatum)
{
    if (nPos < 0 || nPos > GetItemCount())
        nPos = GetItemCount();
    beginInsertRows(QModelIndex(), nPos, nPos);
    m_items.insert(m_items.begin() + nPos, Item{nDatum, {}});
    endInsertRows();
    return nPos;
}

void CGridListModel::SetItems(const std::vector<quintptr> &data)
{
    beginResetModel();
    m_items.clear();
    m_items.reserve(data.size());
    for (const quintptr nDatum : data)
        m_items.push_back(Item{nDatum, {}});
    endResetModel();
}

void CGridListModel::DeleteAllItems()
{
    if (m_items.empty())
        return;
    beginRemoveRows(QModelIndex(), 0, GetItemCount() - 1);
    m_items.clear();
    endRemoveRows();
}

quintptr CGridListModel::GetItemData(int nRow) const
{
    return IsRow(nRow) ? m_items[static_cast<std::size_t>(nRow)].nDatum : 0;
}

const QString *CGridListModel::GetStoredText(int nRow, int nColumn) const
{
    if (!IsRow(nRow))
        return nullptr;
    const QMap<int, QString> &texts = m_items[static_cast<std::size_t>(nRow)].texts;
    const auto it = texts.constFind(nColumn);
    return it != texts.constEnd() ? &*it : nullptr;
}

void CGridListModel::SetStoredText(int nRow, int nColumn, const QString &strText)
{
    if (!IsRow(nRow) || nColumn < 0 || nColumn >= columnCount())
        return;
    m_items[static_cast<std::size_t>(nRow)].texts.insert(nColumn, strText);
    emit dataChanged(index(nRow, nColumn), index(nRow, nColumn));
}

void CGridListModel::ResetStoredText(int nRow, int nColumn)
{
    if (IsRow(nRow) && m_items[static_cast<std::size_t>(nRow)].texts.remove(nColumn) > 0)
        emit dataChanged(index(nRow, nColumn), index(nRow, nColumn));
}

void CGridListModel::ResetColumnTexts(int nColumn)
{
    for (Item &item : m_items)
        item.texts.remove(nColumn);
    if (!m_items.empty())
        emit dataChanged(index(0, nColumn), index(GetItemCount() - 1, nColumn));
}

void CGridListModel::SetColumns(std::vector<GridColumnLayout::Column> columns)
{
    const int nOld = columnCount();
    if (nOld > 0) {
        beginRemoveColumns(QModelIndex(), 0, nOld - 1);
        m_columns.clear();
        for (Item &item : m_items)
            item.texts.clear();
        endRemoveColumns();
    }
    if (columns.empty())
        return;
    beginInsertColumns(QModelIndex(), 0, static_cast<int>(columns.size()) - 1);
    m_columns = std::move(columns);
    endInsertColumns();
}

int CGridListModel::GetColumnId(int nColumn) const
{
    if (nColumn < 0 || nColumn >= columnCount())
        return -1;
    return m_columns[static_cast<std::size_t>(nColumn)].nColumnId;
}

int CGridListModel::GetColumnFormat(int nColumn) const
{
    if (nColumn < 0 || nColumn >= columnCount())
        return LVCFMT_LEFT;
    return m_columns[static_cast<std::size_t>(nColumn)].nFormat;
}

QString CGridListModel::GetColumnCaption(int nColumn) const
{
    if (nColumn < 0 || nColumn >= columnCount())
        return QString();
    return m_columns[static_cast<std::size_t>(nColumn)].strCaption;
}

Qt::Alignment CGridListModel::AlignmentOf(int nFormat)
{
    switch (nFormat & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT:
        return Qt::AlignRight | Qt::AlignVCenter;
    case LVCFMT_CENTER:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

void CGridListModel::Reorder(const std::vector<int> &order)
{
    if (order.size() != m_items.size())
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newRowOf(order.size());
    std::vector<Item> items;
    items.reserve(m_items.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        items.push_back(std::move(m_items[static_cast<std::size_t>(order[i])]));
        newRowOf[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
    }
    m_items = std::move(items);
    // Selection, focus and an open editor follow their rows.
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex &old : from)
        to.push_back(index(newRowOf[static_cast<std::size_t>(old.row())], old.column()));
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int CGridListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : GetItemCount();
}

int CGridListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant CGridListModel::data(const QModelIndex &index, int nRole) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    switch (nRole) {
    case Qt::DisplayRole:
    case Qt::EditRole: {
        const int nPos = m_pList->horizontalHeader()->visualIndex(index.column());
        return m_pList->GetCellText(index.row(), nPos);
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(AlignmentOf(GetColumnFormat(index.column())));
    default:
        return QVariant();
    }
}

QVariant CGridListModel::headerData(int nSection, Qt::Orientation orientation, int nRole) const
{
    if (orientation != Qt::Horizontal || nSection < 0 || nSection >= columnCount())
        return QVariant();
    if (nRole == Qt::DisplayRole)
        return GetColumnCaption(nSection);
    if (nRole == Qt::TextAlignmentRole)
        return QVariant::fromValue(AlignmentOf(GetColumnFormat(nSection)));
    return QVariant();
}

Qt::ItemFlags CGridListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool CGridListModel::setData(const QModelIndex &index, const QVariant &value, int nRole)
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) ||
        nRole != Qt::EditRole)
        return false;
    const QString strText = value.toString();
    m_pList->OnEndLabelEdit(index.row(), m_pList->horizontalHeader()->visualIndex(index.column()),
                            &strText);
    return true;
}
