#pragma once

#include <QStyledItemDelegate>

// The "Type" cell editor: a combo box offering the kind names. What it commits is the text
// as shown, so only an exact kind name changes the row's kind.
class CKindChoiceDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit CKindChoiceDelegate(QObject *pParent);

    QWidget *createEditor(QWidget *pParent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *pEditor, const QModelIndex &index) const override;
    void setModelData(QWidget *pEditor, QAbstractItemModel *pModel,
                      const QModelIndex &index) const override;

protected:
    bool eventFilter(QObject *pObject, QEvent *pEvent) override;
};
