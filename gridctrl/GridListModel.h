#pragma once

#include "GridColumnLayout.h"

#include <QAbstractTableModel>
#include <QMap>
#include <vector>

class CGridListView;

// The rows and columns of a grid list. A row holds the owner's datum and any texts stored into
// its cells; the texts shown come from the list (its owner's text function). Model columns are
// the built columns in build order; the list's header shows them in their current order.
class CGridListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit CGridListModel(CGridListView *pList);
    ~CGridListModel() override;

    // Inserts a row at nPos (past the end: appends) and returns the position used.
    int InsertItem(int nPos, quintptr nDatum);
    // Replaces every row at once.
    void SetItems(const std::vector<quintptr> &data);
    void DeleteAllItems();
    int GetItemCount() const { return static_cast<int>(m_items.size()); }
    // 0 for a row out of range.
    quintptr GetItemData(int nRow) const;

    // A text stored into a cell (nColumn is the model column), or null when it shows the
    // owner's text.
    const QString *GetStoredText(int nRow, int nColumn) const;
    void SetStoredText(int nRow, int nColumn, const QString &strText);
    void ResetStoredText(int nRow, int nColumn);
    // Every row of the column shows the owner's text again.
    void ResetColumnTexts(int nColumn);

    // Replaces the columns; the rows stay.
    void SetColumns(std::vector<GridColumnLayout::Column> columns);
    // -1 for a column out of range.
    int GetColumnId(int nColumn) const;
    // LVCFMT_* alignment.
    int GetColumnFormat(int nColumn) const;
    QString GetColumnCaption(int nColumn) const;
    // Qt's alignment for an LVCFMT_* format, vertically centred.
    static Qt::Alignment AlignmentOf(int nFormat);

    // Puts the rows in a new order: new row i is the old row order[i].
    void Reorder(const std::vector<int> &order);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int nRole = Qt::DisplayRole) const override;
    QVariant headerData(int nSection, Qt::Orientation orientation,
                        int nRole = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // An editor's text: committed through the list.
    bool setData(const QModelIndex &index, const QVariant &value,
                 int nRole = Qt::EditRole) override;

private:
    struct Item {
        quintptr nDatum = 0;
        // Texts stored into cells, by model column.
        QMap<int, QString> texts;
    };
    bool IsRow(int nRow) const { return nRow >= 0 && nRow < GetItemCount(); }

    CGridListView *const m_pList;
    std::vector<Item> m_items;
    std::vector<GridColumnLayout::Column> m_columns;
};
