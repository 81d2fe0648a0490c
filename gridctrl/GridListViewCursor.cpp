// The grid list's cell cursor: hit tests, clicks, keys and the cell tip trigger.
#include "GridListView.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

namespace
{
// Cells this narrow or narrower take no editor and no cursor scrolling.
constexpr int kMinEditWidth = 4;
} // namespace

int CGridListView::HitTestCell(const QPoint &point, int &nPos)
{
    nPos = 0;
    const int nRow = rowAt(point.y());
    if (nRow < 0 || !RowRect(nRow).contains(point))
        return -1;
    int nLeft = RowRect(nRow).left();
    for (int nCol = 0; nCol < GetColumnCount(); ++nCol) {
        const int nWidth = GetColumnWidth(nCol);
        // Both edges belong to the cell, so a point on a divider hits the left cell.
        if (point.x() >= nLeft && point.x() <= nLeft + nWidth) {
            RecordHit(nRow, nCol);
            nPos = nCol;
            return nRow;
        }
        nLeft += nWidth;
    }
    return -1;
}

void CGridListView::RecordHit(int nRow, int nPos)
{
    if (GetItemData(nRow) != 0)
        OnCellHit(nRow, nPos);
    m_nHitRow = nRow;
    m_nHitCol = nPos;
}

int CGridListView::GetCellRectAt(const QPoint &point, QRect &rect, int &nPos) const
{
    const QRect rectClient = viewport()->rect();
    if (point.x() > rectClient.right())
        return -1;
    const int nRow = rowAt(point.y());
    if (nRow < 0 || !RowRect(nRow).contains(point))
        return -1;
    const QRect rectRow = RowRect(nRow);
    int nLeft = rectRow.left();
    for (int nCol = 0; nCol < GetColumnCount(); ++nCol) {
        const int nWidth = GetColumnWidth(nCol);
        if (point.x() >= nLeft && point.x() <= nLeft + nWidth) {
            const int nRight = std::min(nLeft + nWidth, rectClient.right() + 1);
            rect = QRect(nLeft, rectRow.top(), nRight - nLeft, rectRow.height());
            nPos = nCol;
            return nRow;
        }
        nLeft += nWidth;
    }
    return -1;
}

bool CGridListView::GetCellRect(int nRow, int nPos, QRect &rect) const
{
    if (nPos < 0 || nPos >= GetColumnCount() || GetColumnWidth(nPos) <= kMinEditWidth || nRow < 0 ||
        nRow >= GetItemCount())
        return false;
    const QRect rectRow = RowRect(nRow);
    int nLeft = rectRow.left();
    for (int nCol = 0; nCol < nPos; ++nCol)
        nLeft += GetColumnWidth(nCol);
    rect = QRect(nLeft, rectRow.top(), GetColumnWidth(nPos), rectRow.height() - 1);
    return true;
}

bool CGridListView::EnsureColumnVisible(int nPos)
{
    if (nPos < 0 || nPos >= GetColumnCount() || GetColumnWidth(nPos) <= kMinEditWidth)
        return false;
    int nLeft = -horizontalOffset();
    for (int nCol = 0; nCol < nPos; ++nCol)
        nLeft += GetColumnWidth(nCol);
    const int nRight = nLeft + GetColumnWidth(nPos);
    QScrollBar *pBar = horizontalScrollBar();
    if (nLeft < 0)
        pBar->setValue(pBar->value() + nLeft);
    else if (nRight > viewport()->width())
        pBar->setValue(pBar->value() + nRight - viewport()->width());
    return true;
}

void CGridListView::mousePressEvent(QMouseEvent *pEvent)
{
    // Taking the focus ends an open editor, which commits its text.
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    const QModelIndex index = indexAt(pEvent->position().toPoint());
    m_pressIndex = pEvent->button() == Qt::LeftButton ? index : QModelIndex();
    m_bPressOnFocusedRow = index.isValid() && index.row() == GetFocusedRow();
    QTableView::mousePressEvent(pEvent);
}

void CGridListView::mouseReleaseEvent(QMouseEvent *pEvent)
{
    QTableView::mouseReleaseEvent(pEvent);
    const QPoint point = pEvent->position().toPoint();
    if (pEvent->button() != Qt::LeftButton || !m_pressIndex.isValid() ||
        indexAt(point) != QModelIndex(m_pressIndex))
        return;
    m_pressIndex = QModelIndex();
    m_ptLastClick = point;
    OnClick(point, m_bPressOnFocusedRow);
}

void CGridListView::OnClick(const QPoint &point, bool bOnFocusedRow)
{
    int nPos = 0;
    const int nRow = HitTestCell(point, nPos);
    if (nRow < 0)
        return;
    if (nPos != m_nFocusCol)
        SetFocusCol(nPos);
    // The first click on a row selects it; a click on the focused row edits the cell.
    if (!bOnFocusedRow) {
        if (GetFocusedRow() != nRow)
            SelectFocusedRow(nRow);
        return;
    }
    OpenEditorByMasks(nRow, nPos, true);
}

void CGridListView::keyPressEvent(QKeyEvent *pEvent)
{
    const Qt::KeyboardModifiers modifiers = pEvent->modifiers() & ~Qt::KeypadModifier;
    switch (pEvent->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (OnEnterKey())
            return;
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (modifiers == Qt::NoModifier) {
            HideCellTip();
            MoveFocusColByKey(pEvent->key() == Qt::Key_Left ? -1 : 1);
            return;
        }
        break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        // Tab moves as it does from an open editor: into the next editable cell.
        if (GetFocusedRow() >= 0) {
            const bool bBack = pEvent->key() == Qt::Key_Backtab;
            OnGridNavigate(bBack ? NAV_PREV : NAV_NEXT, GetFocusedRow(), m_nFocusCol);
            return;
        }
        break;
    default:
        break;
    }
    HideCellTip();
    const int nBefore = GetFocusedRow();
    QTableView::keyPressEvent(pEvent);
    // A row reached with the keys is a hit on the cursor cell.
    const int nAfter = GetFocusedRow();
    if (nAfter >= 0 && nAfter != nBefore && m_nFocusCol >= 0)
        RecordHit(nAfter, m_nFocusCol);
}

bool CGridListView::OnEnterKey()
{
    if (!HasOption(GLO_ENTEREDIT) && !HasOption(GLO_ENTERNOTIFY))
        return false;
    const int nRow = GetFirstSelectedRow();
    if (HasOption(GLO_ENTEREDIT) && nRow >= 0 && m_nFocusCol >= 0 &&
        EditorKindOf(m_nFocusCol) != EditorKind::None) {
        OpenEditorByMasks(nRow, m_nFocusCol, false);
        return true;
    }
    if (HasOption(GLO_ENTERNOTIFY)) {
        emit doubleClicked(currentIndex());
        return true;
    }
    return false;
}

void CGridListView::MoveFocusColByKey(int nStep)
{
    const int nPos = m_nFocusCol + nStep;
    if ((nStep < 0 && m_nFocusCol <= 0) || (nStep > 0 && m_nFocusCol >= GetColumnCount() - 1))
        return;
    SetFocusCol(nPos);
    if (GetFocusedRow() >= 0)
        EnsureColumnVisible(nPos);
}

void CGridListView::mouseMoveEvent(QMouseEvent *pEvent)
{
    if (pEvent->buttons() == Qt::NoButton && pEvent->modifiers() == Qt::NoModifier)
        OnCellTipTrigger(pEvent->position().toPoint());
    QTableView::mouseMoveEvent(pEvent);
}

void CGridListView::OnCellTipTrigger(const QPoint &point)
{
    if (!HasOption(GLO_TOOLTIPS) || !hasFocus())
        return;
    QRect rect;
    int nPos = 0;
    const int nRow = GetCellRectAt(point, rect, nPos);
    if (nRow < 0)
        return;
    // Column 0 draws its text 2 pixels in, the others 6.
    const int nOffset = nPos == 0 ? 3 : 6;
    rect.setTop(rect.top() - 1);
    if (HasOption(GLO_IMAGECOLUMNS) && GridColumnMasks::Has(m_masks.dwImageCols, GetColumnId(nPos)))
        return;
    ShowCellTip(rect, GetCellText(nRow, nPos), nOffset - 1);
}
