#pragma once

#include <QStyledItemDelegate>

class CGridListView;

// The cell editors of a grid list: a line edit for text columns and a combo box for choice
// columns (editable or list-only), in the cell's format. Tab, Shift+Tab, Enter, Up and Down
// end the edit and move as the list's navigation says; Escape cancels; losing the focus
// commits. A text equal to the cell's text at opening is no edit.
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
    QWidget *CreateTextEditor(QWidget *pParent, int nRow, int nPos) const;
    QWidget *CreateChoiceEditor(QWidget *pParent, bool bEditable) const;
    // Font and text colour from the owner's format of the cell.
    void ApplyCellFormat(QWidget *pEditor, int nRow, int nPos) const;
    // The editor widget an event filter saw: the editor itself or a combo box's line edit.
    QWidget *EditorOf(QObject *pObject) const;

    CGridListView *const m_pList;
};
