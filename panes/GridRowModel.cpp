#include "GridRowModel.h"

#include "EditContext.h"
#include "NodeType.h"

#include <QColor>
#include <QFont>

namespace
{
// Kinds in the order of KindNames().
constexpr dom::NodeType kKinds[] = {dom::NODE_ATTRIBUTE, dom::NODE_TEXT, dom::NODE_COMMENT,
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

std::optional<dom::NodeType> CGridRowModel::KindFromName(const QString &strName)
{
    const qsizetype nIndex = KindNames().indexOf(strName);
    if (nIndex < 0)
        return std::nullopt;
    return kKinds[nIndex];
}

CGridRowModel::CGridRowModel(QObject *pParent) : QAbstractTableModel(pParent) {}

CGridRowModel::~CGridRowModel() = default;

void CGridRowModel::SetContext(CEditContext *pContext)
{
    beginResetModel();
    for (const QMetaObject::Connection &connection : m_connections)
        disconnect(connection);
    m_connections.clear();
    m_pContext = pContext;
    if (pContext != nullptr) {
        m_connections = {
            connect(pContext, &CEditContext::rowsAboutToReset, this, [this] { beginResetModel(); }),
            connect(pContext, &CEditContext::rowsReset, this, [this] { endResetModel(); }),
            connect(pContext, &CEditContext::rowAboutToBeInserted, this,
                    [this](int nRow) { beginInsertRows(QModelIndex(), nRow, nRow); }),
            connect(pContext, &CEditContext::rowInserted, this, [this] { endInsertRows(); }),
            // A new kind decides whether the name may be edited: the whole row may change.
            connect(pContext, &CEditContext::rowChanged, this,
                    [this](int nRow) {
                        emit dataChanged(index(nRow, ColType), index(nRow, ColValue));
                    }),
            connect(pContext, &QObject::destroyed, this,
                    [this] {
                        beginResetModel();
                        m_pContext = nullptr;
                        endResetModel();
                    }),
        };
    }
    endResetModel();
}

int CGridRowModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || m_pContext == nullptr ? 0 : m_pContext->GetRowCount();
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

const GridRow *CGridRowModel::Row(int nPos) const
{
    return m_pContext != nullptr ? m_pContext->GetRow(nPos) : nullptr;
}

bool CGridRowModel::SetCellText(int nRow, int nCol, const QString &strText)
{
    if (m_pContext == nullptr)
        return false;
    switch (nCol) {
    case ColType: {
        const std::optional<dom::NodeType> kind = KindFromName(strText);
        return kind && m_pContext->SetKind(nRow, *kind);
    }
    case ColName:
        return m_pContext->SetName(nRow, strText);
    case ColValue:
        return m_pContext->SetValue(nRow, strText);
    default:
        return false;
    }
}
