// Painting the grid list: its rows, or the "Empty List" text when it has none.
#include "GridListView.h"

#include "GridRowPainter.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

void CGridListView::paintEvent(QPaintEvent *pEvent)
{
    QPainter painter(viewport());
    CGridRowPainter rows(*this, painter);
    const int nCount = GetItemCount();
    if (HasOption(GLO_SCROLLBARS) && horizontalScrollBar()->isEnabled() != (nCount > 0))
        horizontalScrollBar()->setEnabled(nCount > 0);
    if (nCount == 0) {
        rows.DrawEmptyList(viewport()->rect());
        return;
    }
    const QRect rectClip = pEvent->rect();
    const int nFirst = rowAt(rectClip.top());
    if (nFirst < 0)
        return;
    int nLast = rowAt(rectClip.bottom());
    if (nLast < 0)
        nLast = nCount - 1;
    painter.setClipRect(rectClip);
    for (int nRow = nFirst; nRow <= nLast; ++nRow)
        rows.DrawRow(nRow, RowRect(nRow), rectClip);
}
