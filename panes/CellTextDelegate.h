#pragma once

#include <QStyledItemDelegate>

// The "Name" and "Value" cell editor: a line editor, read-only on the fixed names of text,
// CDATA and comment rows.
class CCellTextDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit CCellTextDelegate(QObject *pParent);

    QWidget *createEditor(QWidget *pParent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setModelData(QWidget *pEditor, QAbstractItemModel *pModel,
                      const QModelIndex &index) const override;
};
