// Sorting the rows as shown, moving columns, and the limits on resizing them.
#include "GridListView.h"

#include "GridHeaderCtrl.h"

#include "ColumnDefinitionSet.h"
#include "GridListModel.h"
#include "GridSortKeys.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QScopeGuard>

namespace
{
// No column but the first may be made narrower than this.
constexpr int kMinColumnWidth = 16;
} // namespace

void CGridListView::SortByColumn(int nPos)
{
    if (!HasOption(GLO_SORTONCLICK) || nPos < 0 || nPos >= GetColumnCount())
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restoreCursor = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
    const int nId = GetColumnId(nPos);
    if (m_pColumnDefs != nullptr) {
        const int nIndex = m_pColumnDefs->FindDefinition(nId);
        if (nIndex >= 0 && (m_pColumnDefs->GetDefinition(nIndex).dwFlags & COLDEF_SORTABLE) == 0)
            return;
    }
    // The sort reads the rows: an open editor's text goes in first.
    EndCellEdit();
    const bool bAscending = !m_headerState.IsAscending(nPos);
    m_headerState.SetSortColumn(nPos, bAscending);
    UpdateSortIndicator();
    CGridSortKeys::Kind kind = CGridSortKeys::Kind::Text;
    if (GridColumnMasks::Has(m_masks.dwDotNumSortCols, nId))
        kind = CGridSortKeys::Kind::DottedNumber;
    else if (GridColumnMasks::Has(m_masks.dwNumSortCols, nId))
        kind = CGridSortKeys::Kind::Number;
    m_pModel->Reorder(CGridSortKeys(*this, nPos, kind).SortedOrder(bAscending));
    const int nSelected = GetFirstSelectedRow();
    if (nSelected >= 0)
        scrollTo(m_pModel->index(nSelected, std::max(0, LogicalColumn(m_nFocusCol))));
    viewport()->update();
}

void CGridListView::UpdateSortIndicator()
{
    QHeaderView *pHeader = horizontalHeader();
    const int nSorted = m_headerState.nSortColumn;
    // The drawn header paints its own raised mark; Qt's indicator state is kept beside it (the
    // header draws only the section face, never Qt's arrow) for whoever reads the header.
    if (auto *pDrawn = qobject_cast<CGridHeaderCtrl *>(pHeader))
        pDrawn->SetSortColumn(nSorted, m_headerState.bSortAscending);
    const int nLogical = LogicalColumn(nSorted);
    const bool bMark =
        nLogical >= 0 && !GridColumnMasks::Has(m_headerState.dwNoMarkMask, GetColumnId(nSorted));
    pHeader->setSortIndicatorShown(bMark);
    if (bMark)
        pHeader->setSortIndicator(nLogical, m_headerState.bSortAscending ? Qt::AscendingOrder
                                                                         : Qt::DescendingOrder);
}

void CGridListView::MoveColumn(int &nFrom, int &nTo)
{
    setFocus();
    if (nFrom == 0)
        return;
    if (nTo == 0)
        nTo = 1;
    if (nFrom == nTo || nFrom < 0 || nFrom >= GetColumnCount())
        return;
    // The column goes before the column at nTo.
    const int nFinal = std::min(nTo > nFrom ? nTo - 1 : nTo, GetColumnCount() - 1);
    const int nLogical = LogicalColumn(nFrom);
    if (nFinal != nFrom) {
        m_bArrangingHeader = true;
        horizontalHeader()->moveSection(nFrom, nFinal);
        m_bArrangingHeader = false;
    }
    if (nTo < nFrom)
        ++nFrom;
    m_pModel->ResetColumnTexts(nLogical);
    viewport()->update();
}

void CGridListView::OnSectionMoved(int, int nOldVisual, int nNewVisual)
{
    if (m_bArrangingHeader)
        return;
    // The header moved the section itself; the list's own rules decide where it goes.
    m_bArrangingHeader = true;
    horizontalHeader()->moveSection(nNewVisual, nOldVisual);
    m_bArrangingHeader = false;
    int nFrom = nOldVisual;
    int nTo = nNewVisual > nOldVisual ? nNewVisual + 1 : nNewVisual;
    MoveColumn(nFrom, nTo);
}

void CGridListView::OnSectionResized(int nLogical, int nOldSize, int nNewSize)
{
    if (m_bArrangingHeader)
        return;
    QHeaderView *pHeader = horizontalHeader();
    const bool bFixed =
        GridColumnMasks::Has(m_headerState.dwFixedWidthMask, m_pModel->GetColumnId(nLogical));
    const bool bTooNarrow = pHeader->visualIndex(nLogical) != 0 && nNewSize < kMinColumnWidth;
    if (bFixed || bTooNarrow) {
        m_bArrangingHeader = true;
        pHeader->resizeSection(nLogical, nOldSize);
        m_bArrangingHeader = false;
    }
    viewport()->update();
}
