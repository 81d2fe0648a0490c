#include "GridEditorDelegate.h"

#include "GridListModel.h"
#include "GridListView.h"

#include <QComboBox>
#include <QCompleter>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>

namespace
{
// The text a cell had when its editor opened: a commit of the same text is no edit.
constexpr char kInitialText[] = "gridInitialText";

QString EditorText(QWidget *pEditor)
{
    if (auto *pCombo = qobject_cast<QComboBox *>(pEditor))
        return pCombo->currentText();
    if (auto *pEdit = qobject_cast<QLineEdit *>(pEditor))
        return pEdit->text();
    return QString();
}
} // namespace

CGridEditorDelegate::CGridEditorDelegate(CGridListView *pList)
    : QStyledItemDelegate(pList), m_pList(pList)
{
}

QWidget *CGridEditorDelegate::createEditor(QWidget *pParent, const QStyleOptionViewItem &,
                                           const QModelIndex &index) const
{
    const int nRow = index.row();
    const int nPos = m_pList->horizontalHeader()->visualIndex(index.column());
    QWidget *pEditor = nullptr;
    switch (m_pList->GetOpeningKind()) {
    case CGridListView::EditorKind::Text:
        pEditor = CreateTextEditor(pParent, nRow, nPos);
        break;
    case CGridListView::EditorKind::List:
        pEditor = CreateChoiceEditor(pParent, false);
        break;
    case CGridListView::EditorKind::Combo:
        pEditor = CreateChoiceEditor(pParent, true);
        break;
    case CGridListView::EditorKind::None:
        return nullptr;
    }
    pEditor->setObjectName(QStringLiteral("IDC_GRID_INPLACE_%1").arg(IDC_GRID_INPLACE));
    ApplyCellFormat(pEditor, nRow, nPos);
    return pEditor;
}

QWidget *CGridEditorDelegate::CreateTextEditor(QWidget *pParent, int nRow, int nPos) const
{
    auto *pEdit = new QLineEdit(pParent);
    pEdit->setFrame(false);
    pEdit->setAlignment(CGridListModel::AlignmentOf(m_pList->GetColumnFormat(nPos)));
    pEdit->setReadOnly(m_pList->IsCellReadOnly(nRow, nPos));
    return pEdit;
}

QWidget *CGridEditorDelegate::CreateChoiceEditor(QWidget *pParent, bool bEditable) const
{
    auto *pCombo = new QComboBox(pParent);
    pCombo->setEditable(bEditable);
    pCombo->setFrame(false);
    pCombo->addItems(m_pList->GetOpeningChoices());
    if (bEditable) {
        // A text typed in another case is not a choice: the combo must not correct it.
        pCombo->setInsertPolicy(QComboBox::NoInsert);
        pCombo->completer()->setCaseSensitivity(Qt::CaseSensitive);
        pCombo->lineEdit()->installEventFilter(const_cast<CGridEditorDelegate *>(this));
    }
    // Picking a choice from the list is the choice: it is committed at once.
    CGridListView *pList = m_pList;
    connect(pCombo, &QComboBox::activated, pCombo,
            [pList, pCombo] { pList->EndEditAndNavigate(pCombo, NAV_ENTER); });
    return pCombo;
}

void CGridEditorDelegate::ApplyCellFormat(QWidget *pEditor, int nRow, int nPos) const
{
    if (!m_pList->HasOption(GLO_CELLFORMAT))
        return;
    GridCellFormat request;
    if (!m_pList->QueryCellFormat(nRow, nPos, request))
        return;
    pEditor->setFont((request.dwFlags & GRIDF_FONT) != 0 ? request.font
                                                         : m_pList->GetScreenFont(request.dwFlags));
    if ((request.dwFlags & GRIDF_TEXTCOLOR) != 0) {
        QPalette palette = pEditor->palette();
        palette.setColor(QPalette::Text, request.crText);
        pEditor->setPalette(palette);
    }
}

void CGridEditorDelegate::setEditorData(QWidget *pEditor, const QModelIndex &index) const
{
    const QString strText = index.data(Qt::EditRole).toString();
    pEditor->setProperty(kInitialText, strText);
    if (auto *pCombo = qobject_cast<QComboBox *>(pEditor)) {
        pCombo->setCurrentIndex(
            pCombo->findText(strText, Qt::MatchExactly | Qt::MatchCaseSensitive));
        if (pCombo->isEditable()) {
            pCombo->setEditText(strText);
            pCombo->lineEdit()->selectAll();
        }
        return;
    }
    auto *pEdit = qobject_cast<QLineEdit *>(pEditor);
    if (pEdit == nullptr)
        return;
    pEdit->setText(strText);
    if (m_pList->IsOpeningByClick()) {
        // The caret lands where the user clicked.
        const QPoint point = pEdit->mapFrom(m_pList->viewport(), m_pList->GetLastClickPoint());
        pEdit->setCursorPosition(pEdit->cursorPositionAt(point));
    } else {
        pEdit->selectAll();
    }
}

void CGridEditorDelegate::setModelData(QWidget *pEditor, QAbstractItemModel *pModel,
                                       const QModelIndex &index) const
{
    if (auto *pEdit = qobject_cast<QLineEdit *>(pEditor); pEdit != nullptr && pEdit->isReadOnly())
        return;
    const QString strText = EditorText(pEditor);
    if (strText == pEditor->property(kInitialText).toString())
        return;
    pModel->setData(index, strText, Qt::EditRole);
}

void CGridEditorDelegate::updateEditorGeometry(QWidget *pEditor, const QStyleOptionViewItem &option,
                                               const QModelIndex &) const
{
    const bool bText = qobject_cast<QLineEdit *>(pEditor) != nullptr;
    QRect rect = option.rect.adjusted(6, 1, bText ? -6 : 0, -2);
    rect.setRight(std::min(rect.right(), m_pList->viewport()->rect().right()));
    pEditor->setGeometry(rect);
}

QWidget *CGridEditorDelegate::EditorOf(QObject *pObject) const
{
    auto *pWidget = qobject_cast<QWidget *>(pObject);
    if (auto *pEdit = qobject_cast<QLineEdit *>(pWidget)) {
        if (auto *pCombo = qobject_cast<QComboBox *>(pEdit->parentWidget()))
            return pCombo;
    }
    return pWidget;
}

bool CGridEditorDelegate::eventFilter(QObject *pObject, QEvent *pEvent)
{
    QWidget *pEditor = EditorOf(pObject);
    if (pEvent->type() == QEvent::KeyPress && pEditor == m_pList->GetCellEditor()) {
        const auto *pKey = static_cast<QKeyEvent *>(pEvent);
        const bool bText = qobject_cast<QLineEdit *>(pEditor) != nullptr;
        int nCode = -2;
        switch (pKey->key()) {
        case Qt::Key_Tab:
            nCode = (pKey->modifiers() & Qt::ShiftModifier) != 0 ? NAV_PREV : NAV_NEXT;
            break;
        case Qt::Key_Backtab:
            nCode = NAV_PREV;
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            nCode = NAV_ENTER;
            break;
        case Qt::Key_Up:
        case Qt::Key_Down:
            // A choice editor steps through its choices.
            if (bText)
                nCode = pKey->key() == Qt::Key_Up ? NAV_UP : NAV_DOWN;
            break;
        case Qt::Key_Escape:
            m_pList->EndEditAndNavigate(pEditor, -1, false);
            return true;
        default:
            break;
        }
        if (nCode != -2) {
            m_pList->EndEditAndNavigate(pEditor, nCode);
            return true;
        }
    }
    // The combo's own line edit is no editor of the view's.
    if (pEditor != pObject)
        return false;
    return QStyledItemDelegate::eventFilter(pObject, pEvent);
}
