#pragma once

#include "GridRow.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

// The grid pane's rows as a table of "Type", "Name" and "Value", in the order they were
// filled or inserted. Row records keep their address until they are deleted.
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
    static std::optional<int> KindFromName(const QString &strName);
    // Text, CDATA and comment nodes carry the DOM's fixed names, which the user cannot type over.
    static bool IsNameReadOnly(int nKind);

    explicit CGridRowModel(QObject *pParent);
    ~CGridRowModel() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int nRole = Qt::DisplayRole) const override;
    QVariant headerData(int nSection, Qt::Orientation orientation,
                        int nRole = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // A commit from a cell editor; emits cellCommitted when it changed the row.
    bool setData(const QModelIndex &index, const QVariant &value,
                 int nRole = Qt::EditRole) override;

    // Inserts at nPos, clamped to the rows there are; returns the position used.
    int InsertRow(int nPos, GridRow row);
    void Clear();
    // Null when out of range.
    const GridRow *Row(int nPos) const;
    // Stores strText into a cell: the kind named by it for ColType, the name or the value.
    // True when the row changed; a read-only name or an unknown kind name changes nothing.
    bool SetCellText(int nRow, int nCol, const QString &strText);

signals:
    // A cell editor changed the row.
    void cellCommitted(int nRow, int nCol);

private:
    std::vector<std::unique_ptr<GridRow>> m_rows;
};
