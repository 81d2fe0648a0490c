#include "GridEditorDelegate.h"

#include "GridCellEdit.h"
#include "GridComboEdit.h"
#include "GridListModel.h"
#include "GridListView.h"

#include <QHeaderView>

CGridEditorDelegate::CGridEditorDelegate(CGridListView *pList)
    : QStyledItemDelegate(pList), m_pList(pList)
{
}

QWidget *CGridEditorDelegate::createEditor(QWidget *pParent, const QStyleOptionViewItem &,
                                           const QModelIndex &index) const
{
    const int nRow = index.row();
    const int nPos = m_pList->horizontalHeader()->visualIndex(index.column());
    const CGridListView::EditorKind kind = m_pList->GetOpeningKind();
    if (kind == CGridListView::EditorKind::None)
        return nullptr;
    const QString strText = m_pList->GetCellText(nRow, nPos);
    const bool bByClick = m_pList->IsOpeningByClick();

    GridCellFormat request;
    const bool bFormat =
        m_pList->HasOption(GLO_CELLFORMAT) && m_pList->QueryCellFormat(nRow, nPos, request);
    QFont font = m_pList->font();
    if (bFormat)
        font = (request.dwFlags & GRIDF_FONT) != 0 ? request.font
                                                   : m_pList->GetScreenFont(request.dwFlags);
    const bool bColour = bFormat && (request.dwFlags & GRIDF_TEXTCOLOR) != 0;

    if (kind == CGridListView::EditorKind::Text) {
        auto *pEdit = new CGridCellEdit(m_pList, nRow, nPos, strText, bByClick, pParent);
        pEdit->setAlignment(CGridListModel::AlignmentOf(m_pList->GetColumnFormat(nPos)));
        pEdit->setReadOnly(m_pList->IsCellReadOnly(nRow, nPos));
        pEdit->setFont(font);
        if (bColour) {
            QPalette palette = pEdit->palette();
            palette.setColor(QPalette::Text, request.crText);
            pEdit->setPalette(palette);
        }
        return pEdit;
    }
    auto *pCombo = new CGridComboEdit(m_pList, nRow, nPos, strText, m_pList->GetOpeningChoices(),
                                      kind == CGridListView::EditorKind::Combo, bByClick, pParent);
    pCombo->SetCellFont(font);
    if (bColour)
        pCombo->SetTextColor(request.crText);
    return pCombo;
}

void CGridEditorDelegate::setEditorData(QWidget *pEditor, const QModelIndex &) const
{
    // The editor takes its text once, when it opens; a repaint of the row must not reset it.
    if (pEditor->property("gridStarted").toBool())
        return;
    pEditor->setProperty("gridStarted", true);
    if (auto *pEdit = qobject_cast<CGridCellEdit *>(pEditor))
        pEdit->Start();
    else if (auto *pCombo = qobject_cast<CGridComboEdit *>(pEditor))
        pCombo->Start();
}

void CGridEditorDelegate::setModelData(QWidget *pEditor, QAbstractItemModel *,
                                       const QModelIndex &) const
{
    if (auto *pInplace = dynamic_cast<CGridInplaceEditor *>(pEditor))
        pInplace->CommitEdit();
}

void CGridEditorDelegate::updateEditorGeometry(QWidget *pEditor, const QStyleOptionViewItem &option,
                                               const QModelIndex &) const
{
    auto *pEdit = qobject_cast<CGridCellEdit *>(pEditor);
    QRect rect = option.rect.adjusted(6, 1, pEdit != nullptr ? -6 : 0, -2);
    rect.setRight(std::min(rect.right(), m_pList->viewport()->rect().right()));
    // Text typed past the edge has widened the editor; it stays that wide.
    if (pEdit != nullptr && pEdit->GetGrownWidth() > rect.width())
        rect.setWidth(pEdit->GetGrownWidth());
    pEditor->setGeometry(rect);
}

bool CGridEditorDelegate::eventFilter(QObject *pObject, QEvent *pEvent)
{
    // The list's own editors handle their keys and focus themselves.
    if (dynamic_cast<CGridInplaceEditor *>(pObject) != nullptr)
        return false;
    return QStyledItemDelegate::eventFilter(pObject, pEvent);
}
