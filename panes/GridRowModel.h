#pragma once

#include "EditContext.h"
#include "GridRow.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <QStringList>
#include <optional>

// The rows of a window's edit context as a table of "Type", "Name" and "Value", in the order
// they were filled or inserted. The context holds the rows; the model shows them and passes
// edits to it.
class CGridRowModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { ColType = 0, ColName = 1, ColValue = 2, ColCount = 3 };
    // The row's node kind, for the cell editors.
    static constexpr int KindRole = Qt::UserRole;

    // The kind names in the order the Type editor offers them.
    static const QStringList &KindNames();
    // "" for a kind without a name.
    static QString KindName(int nKind);
    // The kind named exactly (case counts) strName, or nothing.
    static std::optional<dom::NodeType> KindFromName(const QString &strName);

    explicit CGridRowModel(QObject *pParent);
    ~CGridRowModel() override;

    // The rows shown; the model shows none without a context.
    void SetContext(CEditContext *pContext);
    CEditContext *GetContext() const { return m_pContext; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int nRole = Qt::DisplayRole) const override;
    QVariant headerData(int nSection, Qt::Orientation orientation,
                        int nRole = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // A commit from a cell editor; emits cellCommitted when it changed the row.
    bool setData(const QModelIndex &index, const QVariant &value,
                 int nRole = Qt::EditRole) override;

    // Null when out of range.
    const GridRow *Row(int nPos) const;
    // Stores strText into a cell: the kind named by it for ColType, the name or the value.
    // True when the row changed; a read-only name or an unknown kind name changes nothing.
    bool SetCellText(int nRow, int nCol, const QString &strText);

signals:
    // A cell editor changed the row.
    void cellCommitted(int nRow, int nCol);

private:
    QPointer<CEditContext> m_pContext;
    QList<QMetaObject::Connection> m_connections;
};
