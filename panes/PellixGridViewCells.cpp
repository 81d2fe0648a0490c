// The grid pane's cells: their texts, formats and choices, commits into the rows, and the cell
// the text pane shows.
#include "PellixGridView.h"

#include "EditContext.h"
#include "MessageBox.h"

void CPellixGridView::GetGridCellText(int, int nPos, quintptr nDatum, QString &strText) const
{
    strText.clear();
    const GridRow *pRow = RowOf(nDatum);
    if (pRow == nullptr) {
        AfxMessageBox(QStringLiteral("InCorrect Node!"));
        return;
    }
    switch (GetColumnId(nPos)) {
    case ColType:
        strText = KindName(pRow->nKind);
        break;
    case ColName:
        strText = pRow->strName;
        break;
    case ColValue:
        strText = pRow->strValue;
        break;
    default:
        break;
    }
}

bool CPellixGridView::GetGridCellFormat(GridCellFormat &request)
{
    switch (request.nCode) {
    case GRIDQ_FORMAT:
        if (request.nColumn == ColType)
            request.dwFlags |= GRIDF_BOLD;
        if (request.nColumn == ColName || request.nColumn == ColValue) {
            request.dwFlags |= GRIDF_TEXTCOLOR;
            request.crText = request.nColumn == ColName ? QColor(0, 0, 255) : QColor(255, 0, 0);
        }
        return true;
    case GRIDQ_CHOICES:
        if (request.pChoices != nullptr)
            *request.pChoices << KindNames();
        return true;
    case GRIDQ_COMMIT:
        return CommitCell(request);
    default:
        return false;
    }
}

bool CPellixGridView::CommitCell(const GridCellFormat &request)
{
    const int nRow = PositionOf(RowOf(request.nDatum));
    if (m_pContext == nullptr || nRow < 0)
        return true;
    switch (request.nColumn) {
    case ColType:
        // Only an exact kind name changes the kind.
        if (const std::optional<dom::NodeType> kind = KindFromName(request.strText))
            m_pContext->SetKind(nRow, *kind);
        break;
    case ColName:
        m_pContext->SetName(nRow, request.strText);
        break;
    case ColValue:
        m_pContext->SetValue(nRow, request.strText);
        break;
    default:
        break;
    }
    // The text pane shows the cell; a commit into its row may change that text or, for a new
    // kind, whether the pane may write into the name.
    if (nRow == m_nTextRow)
        ShowCellInTextPane(m_nTextRow, m_nTextCol);
    return true;
}

bool CPellixGridView::IsCellReadOnly(int nRow, int nPos) const
{
    const GridRow *pRow = RowOf(GetItemData(nRow));
    return GetColumnId(nPos) == ColName && pRow != nullptr &&
           CEditContext::IsNameReadOnly(pRow->nKind);
}

void CPellixGridView::OnCellHit(int nRow, int nPos)
{
    ShowCellInTextPane(PositionOf(RowOf(GetItemData(nRow))), GetColumnId(nPos));
}

void CPellixGridView::ShowEditorText(int nItem, int nPos, const QString &strText)
{
    // The text pane follows an open editor of the cell it shows, so both show the same text.
    const int nRow = PositionOf(RowOf(GetItemData(nItem)));
    const int nColumnId = GetColumnId(nPos);
    if (nRow >= 0 && nRow == m_nTextRow && nColumnId == m_nTextCol)
        emit cellShown(strText, nRow, nColumnId);
    // A recovery copy written while the editor is open holds its text.
    if (m_pContext != nullptr && (nColumnId == ColName || nColumnId == ColValue))
        m_pContext->SetDraft(nRow, nColumnId == ColName, strText);
}

void CPellixGridView::OnEditorClosed()
{
    if (m_pContext != nullptr)
        m_pContext->ClearDraft();
}

void CPellixGridView::ShowCellInTextPane(int nRow, int nColumnId)
{
    const GridRow *pRow = GetRow(nRow);
    const bool bName = nColumnId == ColName;
    if (pRow == nullptr || (nColumnId != ColValue && !bName) ||
        (bName && CEditContext::IsNameReadOnly(pRow->nKind))) {
        m_nTextRow = -1;
        m_nTextCol = -1;
        emit cellCleared();
        return;
    }
    m_nTextRow = nRow;
    m_nTextCol = nColumnId;
    emit cellShown(bName ? pRow->strName : pRow->strValue, nRow, nColumnId);
}

void CPellixGridView::SetCellFromTextPane(int nRow, int nCol, const QString &strText)
{
    if (m_pContext == nullptr)
        return;
    if (nCol == ColName)
        m_pContext->SetName(nRow, strText);
    else if (nCol == ColValue)
        m_pContext->SetValue(nRow, strText);
}
