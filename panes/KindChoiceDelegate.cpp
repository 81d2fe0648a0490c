#include "KindChoiceDelegate.h"

#include "GridRowModel.h"

#include <QComboBox>
#include <QCompleter>
#include <QFont>
#include <QKeyEvent>
#include <QLineEdit>

CKindChoiceDelegate::CKindChoiceDelegate(QObject *pParent) : QStyledItemDelegate(pParent) {}

QWidget *CKindChoiceDelegate::createEditor(QWidget *pParent, const QStyleOptionViewItem &,
                                           const QModelIndex &) const
{
    auto *pCombo = new QComboBox(pParent);
    pCombo->setEditable(true);
    pCombo->setFrame(false);
    QFont font = pCombo->font();
    font.setBold(true);
    pCombo->setFont(font);
    pCombo->addItems(CGridRowModel::KindNames());
    // A name typed in another case is not a kind name: the combo must not correct it.
    pCombo->setInsertPolicy(QComboBox::NoInsert);
    pCombo->completer()->setCaseSensitivity(Qt::CaseSensitive);
    auto *pSelf = const_cast<CKindChoiceDelegate *>(this);
    // Picking a name from the list is the choice: commit it at once.
    connect(pCombo, &QComboBox::activated, pSelf, [pSelf, pCombo] {
        emit pSelf->commitData(pCombo);
        emit pSelf->closeEditor(pCombo, QAbstractItemDelegate::NoHint);
    });
    pCombo->lineEdit()->installEventFilter(pSelf);
    return pCombo;
}

void CKindChoiceDelegate::setEditorData(QWidget *pEditor, const QModelIndex &index) const
{
    auto *pCombo = static_cast<QComboBox *>(pEditor);
    const QString strText = index.data(Qt::EditRole).toString();
    const int nIndex = pCombo->findText(strText, Qt::MatchExactly | Qt::MatchCaseSensitive);
    pCombo->setCurrentIndex(nIndex);
    pCombo->setEditText(strText);
    // Typing replaces the kind name, as in the other cells.
    pCombo->lineEdit()->selectAll();
}

void CKindChoiceDelegate::setModelData(QWidget *pEditor, QAbstractItemModel *pModel,
                                       const QModelIndex &index) const
{
    pModel->setData(index, static_cast<QComboBox *>(pEditor)->currentText(), Qt::EditRole);
}

bool CKindChoiceDelegate::eventFilter(QObject *pObject, QEvent *pEvent)
{
    auto *pEdit = qobject_cast<QLineEdit *>(pObject);
    auto *pCombo = pEdit != nullptr ? qobject_cast<QComboBox *>(pEdit->parentWidget())
                                    : qobject_cast<QComboBox *>(pObject);
    // Enter, whether the combo or its line edit has the focus, would also report the text
    // as picked from the list: it is taken here so that the text is committed once.
    if (pCombo != nullptr && pEvent->type() == QEvent::KeyPress) {
        const int nKey = static_cast<QKeyEvent *>(pEvent)->key();
        if (nKey == Qt::Key_Return || nKey == Qt::Key_Enter) {
            emit commitData(pCombo);
            emit closeEditor(pCombo, QAbstractItemDelegate::SubmitModelCache);
            return true;
        }
    }
    if (pEdit != nullptr)
        return false;
    return QStyledItemDelegate::eventFilter(pObject, pEvent);
}
