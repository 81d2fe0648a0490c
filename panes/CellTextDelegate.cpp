#include "CellTextDelegate.h"

#include "EditContext.h"
#include "GridRowModel.h"

#include <QColor>
#include <QLineEdit>
#include <QPalette>

CCellTextDelegate::CCellTextDelegate(QObject *pParent) : QStyledItemDelegate(pParent) {}

QWidget *CCellTextDelegate::createEditor(QWidget *pParent, const QStyleOptionViewItem &,
                                         const QModelIndex &index) const
{
    auto *pEdit = new QLineEdit(pParent);
    pEdit->setFrame(false);
    // The editor keeps the column's look.
    QPalette palette = pEdit->palette();
    palette.setColor(QPalette::Text, index.data(Qt::ForegroundRole).value<QColor>());
    pEdit->setPalette(palette);
    const int nKind = index.data(CGridRowModel::KindRole).toInt();
    pEdit->setReadOnly(index.column() == CGridRowModel::ColName &&
                       CEditContext::IsNameReadOnly(static_cast<dom::NodeType>(nKind)));
    return pEdit;
}

void CCellTextDelegate::setModelData(QWidget *pEditor, QAbstractItemModel *pModel,
                                     const QModelIndex &index) const
{
    auto *pEdit = static_cast<QLineEdit *>(pEditor);
    if (!pEdit->isReadOnly())
        pModel->setData(index, pEdit->text(), Qt::EditRole);
}
