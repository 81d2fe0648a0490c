// Editing cells in place: opening the editors, committing their text through the owner, and
// the cell moves an editor asks for.
#include "GridListView.h"

#include "GridInplaceEditor.h"
#include "GridListModel.h"

#include <QHeaderView>

CGridListView::EditorKind CGridListView::EditorKindOf(int nPos) const
{
    const int nId = GetColumnId(nPos);
    if (GridColumnMasks::Has(m_masks.dwTextEditCols, nId))
        return EditorKind::Text;
    if (GridColumnMasks::Has(m_masks.dwListEditCols, nId))
        return EditorKind::List;
    if (GridColumnMasks::Has(m_masks.dwComboEditCols, nId))
        return EditorKind::Combo;
    return EditorKind::None;
}

bool CGridListView::EditCellText(int nRow, int nPos, bool bByClick)
{
    return OpenEditor(nRow, nPos, EditorKind::Text, bByClick, AllEditTriggers, nullptr);
}

bool CGridListView::EditCellChoice(int nRow, int nPos, bool bEditable, bool bByClick)
{
    return OpenEditor(nRow, nPos, bEditable ? EditorKind::Combo : EditorKind::List, bByClick,
                      AllEditTriggers, nullptr);
}

bool CGridListView::OpenEditorByMasks(int nRow, int nPos, bool bByClick)
{
    const EditorKind kind = EditorKindOf(nPos);
    return kind != EditorKind::None &&
           OpenEditor(nRow, nPos, kind, bByClick, AllEditTriggers, nullptr);
}

bool CGridListView::CanEditCell(int nRow, int nPos)
{
    if (nRow < 0 || nRow >= GetItemCount() || nPos < 0 || nPos >= GetColumnCount())
        return false;
    scrollTo(m_pModel->index(nRow, LogicalColumn(nPos)), QAbstractItemView::EnsureVisible);
    return EnsureColumnVisible(nPos);
}

bool CGridListView::OpenEditor(int nRow, int nPos, EditorKind kind, bool bByClick,
                               EditTrigger trigger, QEvent *pEvent)
{
    // An open editor ends first, as it would on losing the focus to the new one.
    EndCellEdit();
    if (kind == EditorKind::None || !CanEditCell(nRow, nPos))
        return false;
    m_openingChoices.clear();
    if (kind != EditorKind::Text) {
        GridCellFormat request;
        request.nCode = GRIDQ_CHOICES;
        request.nRow = nRow;
        request.nColumn = GetColumnId(nPos);
        request.nDatum = GetItemData(nRow);
        request.nReserved = 128;
        request.pChoices = &m_openingChoices;
        if (!QueryOwner(request))
            return false;
    }
    const QModelIndex index = m_pModel->index(nRow, LogicalColumn(nPos));
    m_openingKind = kind;
    m_bOpeningByClick = bByClick;
    QTableView::edit(index, trigger, pEvent);
    m_openingKind = EditorKind::None;
    m_bOpeningByClick = false;
    if (indexWidget(index) == nullptr)
        return false;
    m_editIndex = index;
    return true;
}

bool CGridListView::edit(const QModelIndex &index, EditTrigger trigger, QEvent *pEvent)
{
    if (!index.isValid() || (trigger != AllEditTriggers && (editTriggers() & trigger) == 0))
        return QTableView::edit(index, trigger, pEvent);
    // Typing or F2 on the cursor cell, or a request from outside: the column's own editor.
    const int nPos = horizontalHeader()->visualIndex(index.column());
    return OpenEditor(index.row(), nPos, EditorKindOf(nPos), false, trigger, pEvent);
}

QWidget *CGridListView::GetCellEditor() const
{
    return m_editIndex.isValid() ? indexWidget(m_editIndex) : nullptr;
}

void CGridListView::EndCellEdit()
{
    if (QWidget *pEditor = GetCellEditor())
        EndEditAndNavigate(pEditor, -1, true);
}

void CGridListView::EndEditAndNavigate(QWidget *pEditor, int nCode, bool bCommit)
{
    if (pEditor == nullptr || pEditor != GetCellEditor())
        return;
    const int nRow = m_editIndex.row();
    const int nPos = horizontalHeader()->visualIndex(m_editIndex.column());
    auto *pInplace = dynamic_cast<CGridInplaceEditor *>(pEditor);
    if (bCommit && pInplace != nullptr)
        pInplace->CommitEdit();
    const bool bCancelled = pInplace != nullptr && pInplace->IsCancelled();
    closeEditor(pEditor, QAbstractItemDelegate::NoHint);
    // A cancelled edit shows the cell's own text again where the editor's was shown.
    if (bCancelled && nRow >= 0 && nRow < GetItemCount())
        OnCellHit(nRow, nPos);
    if (nCode >= 0)
        OnGridNavigate(nCode, nRow, nPos);
}

void CGridListView::closeEditor(QWidget *pEditor, QAbstractItemDelegate::EndEditHint hint)
{
    if (auto *pInplace = dynamic_cast<CGridInplaceEditor *>(pEditor))
        pInplace->MarkClosed();
    if (pEditor == GetCellEditor())
        m_editIndex = QPersistentModelIndex();
    // Moves after an edit are the list's own (EndEditAndNavigate), never the view's.
    Q_UNUSED(hint);
    QTableView::closeEditor(pEditor, QAbstractItemDelegate::NoHint);
    OnEditorClosed();
}

void CGridListView::CommitEditorText(QWidget *pEditor, int nRow, int nPos, const QString *pText)
{
    if (pEditor != nullptr && pEditor == GetCellEditor()) {
        nRow = m_editIndex.row();
        nPos = horizontalHeader()->visualIndex(m_editIndex.column());
    }
    OnEndLabelEdit(nRow, nPos, pText);
}

void CGridListView::OnEditorTextChanged(QWidget *pEditor, int nRow, int nPos,
                                        const QString &strText)
{
    if (pEditor != nullptr && pEditor == GetCellEditor()) {
        nRow = m_editIndex.row();
        nPos = horizontalHeader()->visualIndex(m_editIndex.column());
    }
    if (nRow >= 0 && nRow < GetItemCount())
        ShowEditorText(nRow, nPos, strText);
}

void CGridListView::NotifyDoubleClick()
{
    emit doubleClicked(currentIndex());
}

void CGridListView::OnEndLabelEdit(int nRow, int nPos, const QString *pText)
{
    if (pText == nullptr)
        return;
    CommitForRow(nRow, nPos, *pText);
    const std::vector<int> selected = GetSelectedRows();
    if (!HasOption(GLO_EDITALLSELECTED) || selected.size() < 2)
        return;
    for (const int nSelected : selected) {
        if (nSelected != nRow)
            CommitForRow(nSelected, nPos, *pText);
    }
    setFocus();
}

void CGridListView::CommitForRow(int nRow, int nPos, const QString &strText)
{
    GridCellFormat request;
    request.nCode = GRIDQ_COMMIT;
    request.nRow = nRow;
    request.nColumn = GetColumnId(nPos);
    request.nDatum = GetItemData(nRow);
    request.strText = strText;
    if (QueryOwner(request))
        SetCellText(nRow, nPos, strText);
    else
        ResetCellText(nRow, nPos);
}

void CGridListView::OnGridNavigate(int nCode, int nRow, int nPos)
{
    switch (nCode) {
    case NAV_NEXT:
        if (!NavigateNext(nRow, nPos))
            return;
        break;
    case NAV_PREV:
        NavigatePrev(nRow, nPos);
        return;
    case NAV_LEFT:
    case NAV_RIGHT: {
        const int nStep = nCode == NAV_LEFT ? -1 : 1;
        SetFocusCol(std::clamp(m_nFocusCol + nStep, 0, std::max(0, GetColumnCount() - 1)));
        if (GetFirstSelectedRow() >= 0)
            EnsureColumnVisible(m_nFocusCol);
        break;
    }
    case NAV_UP:
        NavigateRow(-1);
        break;
    case NAV_DOWN:
        NavigateRow(1);
        break;
    default:
        break;
    }
    const int nSelected = GetFirstSelectedRow();
    if (nSelected >= 0 && m_nFocusCol >= 0 && GetItemData(nSelected) != 0)
        OnCellHit(nSelected, m_nFocusCol);
}

bool CGridListView::NavigateNext(int nRow, int nPos)
{
    if (m_nFocusCol == GetColumnCount() - 1 && GetFirstSelectedRow() == GetItemCount() - 1)
        OnAppendRow();
    for (int nCol = nPos + 1; nRow < GetItemCount(); ++nRow, nCol = 0) {
        for (; nCol < GetColumnCount(); ++nCol) {
            if (EditorKindOf(nCol) != EditorKind::None) {
                MoveToEditableCell(nRow, nCol);
                return true;
            }
        }
    }
    return false;
}

void CGridListView::NavigatePrev(int nRow, int nPos)
{
    for (int nCol = nPos - 1; nRow >= 0; --nRow, nCol = GetColumnCount() - 1) {
        for (; nCol >= 0; --nCol) {
            if (EditorKindOf(nCol) != EditorKind::None) {
                MoveToEditableCell(nRow, nCol);
                return;
            }
        }
    }
}

void CGridListView::MoveToEditableCell(int nRow, int nPos)
{
    const std::vector<int> selected = GetSelectedRows();
    if (selected.size() == 1 && selected.front() != nRow)
        selectionModel()->clearSelection();
    SetFocusCol(nPos);
    SelectFocusedRow(nRow);
    OpenEditorByMasks(nRow, nPos, false);
}

void CGridListView::NavigateRow(int nStep)
{
    const int nFrom = GetFocusedRow();
    const int nTo = nFrom + nStep;
    // Down never reaches the last row (the owner's row for new input).
    const int nLast = nStep < 0 ? GetItemCount() - 1 : GetItemCount() - 2;
    if (nFrom < 0 || nTo < 0 || nTo > nLast)
        return;
    if (GetSelectedRows().size() == 1)
        selectionModel()->clearSelection();
    SelectFocusedRow(nTo);
}
