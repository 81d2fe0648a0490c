#include "GridRowModel.h"

#include "NodeType.h"

#include <QColor>
#include <QFont>

namespace
{
// Kinds in the order of KindNames().
constexpr int kKinds[] = {dom::NODE_ATTRIBUTE, dom::NODE_TEXT, dom::NODE_COMMENT,
                          dom::NODE_PROCESSING_INSTRUCTION, dom::NODE_CDATA_SECTION};
} // namespace

const QStringList &CGridRowModel::KindNames()
{
    static const QStringList names = {
        QStringLiteral("Attribute"), QStringLiteral("Text"), QStringLiteral("Comment"),
        QStringLiteral("ProcessInstruction"), QStringLiteral("CDATASection")};
    return names;
}

QString CGridRowModel::KindName(int nKind)
{
    for (qsizetype i = 0; i < KindNames().size(); ++i) {
        if (kKinds[i] == nKind)
            return KindNames()[i];
    }
    return QString();
}

std::optional<int> CGridRowModel::KindFromName(const QString &strName)
{
    const qsizetype nIndex = KindNames().indexOf(strName);
    if (nIndex < 0)
        return std::nullopt;
    return kKinds[nIndex];
}

bool CGridRowModel::IsNameReadOnly(int nKind)
{
    return nKind == dom::NODE_TEXT || nKind == dom::NODE_CDATA_SECTION ||
           nKind == dom::NODE_COMMENT;
}

CGridRowModel::CGridRowModel(QObject *pParent) : QAbstractTableModel(pParent) {}

CGridRowModel::~CGridRowModel() = default;

int CGridRowModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CGridRowModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColCount;
}

QVariant CGridRowModel::data(const QModelIndex &index, int nRole) const
{
    const GridRow *pRow = index.isValid() ? Row(index.row()) : nullptr;
    if (pRow == nullptr)
        return QVariant();
    const int nCol = index.column();
    switch (nRole) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (nCol == ColType)
            return KindName(pRow->nKind);
        return nCol == ColName ? pRow->strName : pRow->strValue;
    case KindRole:
        return pRow->nKind;
    case Qt::FontRole:
        if (nCol == ColType) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return QVariant();
    case Qt::ForegroundRole:
        if (nCol == ColName)
            return QColor(0, 0, 255);
        return nCol == ColValue ? QColor(255, 0, 0) : QVariant();
    case Qt::TextAlignmentRole:
        return headerData(nCol, Qt::Horizontal, nRole);
    default:
        return QVariant();
    }
}

QVariant CGridRowModel::headerData(int nSection, Qt::Orientation orientation, int nRole) const
{
    if (orientation != Qt::Horizontal || nSection < 0 || nSection >= ColCount)
        return QAbstractTableModel::headerData(nSection, orientation, nRole);
    if (nRole == Qt::DisplayRole) {
        static const char *const titles[] = {"Type", "Name", "Value"};
        return QString::fromLatin1(titles[nSection]);
    }
    if (nRole == Qt::TextAlignmentRole) {
        const Qt::Alignment horizontal = nSection == ColValue ? Qt::AlignLeft : Qt::AlignHCenter;
        return QVariant::fromValue(horizontal | Qt::AlignVCenter);
    }
    return QVariant();
}

Qt::ItemFlags CGridRowModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    // Read-only names still open an editor, read-only, so their text can be selected and copied.
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool CGridRowModel::setData(const QModelIndex &index, const QVariant &value, int nRole)
{
    if (!index.isValid() || nRole != Qt::EditRole)
        return false;
    if (!SetCellText(index.row(), index.column(), value.toString()))
        return false;
    emit cellCommitted(index.row(), index.column());
    return true;
}

int CGridRowModel::InsertRow(int nPos, GridRow row)
{
    const int nCount = rowCount();
    if (nPos < 0 || nPos > nCount)
        nPos = nCount;
    beginInsertRows(QModelIndex(), nPos, nPos);
    m_rows.insert(m_rows.begin() + nPos, std::make_unique<GridRow>(std::move(row)));
    endInsertRows();
    return nPos;
}

void CGridRowModel::Clear()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

const GridRow *CGridRowModel::Row(int nPos) const
{
    if (nPos < 0 || nPos >= rowCount())
        return nullptr;
    return m_rows[static_cast<size_t>(nPos)].get();
}

bool CGridRowModel::SetCellText(int nRow, int nCol, const QString &strText)
{
    if (nRow < 0 || nRow >= rowCount())
        return false;
    GridRow &row = *m_rows[static_cast<size_t>(nRow)];
    switch (nCol) {
    case ColType: {
        const std::optional<int> kind = KindFromName(strText);
        if (!kind || *kind == row.nKind)
            return false;
        row.nKind = *kind;
        // The kind decides whether the name may be edited, so the whole row may look different.
        emit dataChanged(index(nRow, ColType), index(nRow, ColValue));
        return true;
    }
    case ColName:
        if (IsNameReadOnly(row.nKind) || row.strName == strText)
            return false;
        row.strName = strText;
        break;
    case ColValue:
        if (row.strValue == strText)
            return false;
        row.strValue = strText;
        break;
    default:
        return false;
    }
    emit dataChanged(index(nRow, nCol), index(nRow, nCol));
    return true;
}
