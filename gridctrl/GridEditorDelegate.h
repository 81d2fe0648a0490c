#pragma once

#include <QStyledItemDelegate>

class CGridListView;

// Makes the in-place editors of a grid list and lays them over their cells: the text editor
// for text columns, the choice editor for choice columns (editable or list-only), each in the
// cell's format. The editors handle their own keys, focus and commit.
class CGridEditorDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit CGridEditorDelegate(CGridListView *pList);

    QWidget *createEditor(QWidget *pParent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *pEditor, const QModelIndex &index) const override;
    void setModelData(QWidget *pEditor, QAbstractItemModel *pModel,
                      const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *pEditor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;

protected:
    bool eventFilter(QObject *pObject, QEvent *pEvent) override;

private:
    CGridListView *const m_pList;
};
