#include "GridHeaderCtrl.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionHeader>

#include <cstdlib>

namespace
{

bool TestBit(std::uint32_t dwMask, int nBit)
{
    return nBit >= 0 && nBit < 32 && ((dwMask >> nBit) & 1u) != 0;
}

// The outline of the column being dragged, drawn over the list with a halftone border like a
// window being moved, so the rows beneath stay readable.
class CDragFrame : public QWidget
{
public:
    explicit CDragFrame(QWidget *pParent) : QWidget(pParent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QBrush halftone(palette().color(QPalette::WindowText), Qt::Dense4Pattern);
        const int b = CGridHeaderCtrl::kDragFrameWidth;
        const int w = width();
        const int h = height();
        painter.fillRect(0, 0, w, b, halftone);
        painter.fillRect(0, h - b, w, b, halftone);
        painter.fillRect(0, b, b, h - 2 * b, halftone);
        painter.fillRect(w - b, b, b, h - 2 * b, halftone);
    }
};

} // namespace

CGridHeaderCtrl::CGridHeaderCtrl(QWidget *pParent) : QHeaderView(Qt::Horizontal, pParent)
{
    setSectionsClickable(true);
    // Columns are dragged by our own code, which draws the insertion mark and keeps the first
    // column in place.
    setSectionsMovable(false);
    setSortIndicatorShown(false);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The first column may be made as narrow as the user likes; OnSectionResized stops the
    // others at kMinColumnWidth.
    setMinimumSectionSize(0);
    connect(this, &QHeaderView::sectionResized, this, &CGridHeaderCtrl::OnSectionResized);
}

CGridHeaderCtrl::~CGridHeaderCtrl()
{
    // The frame belongs to the list, which may outlive the header.
    delete m_pDragFrame;
}

int CGridHeaderCtrl::SetSortColumn(int nItem, bool bAscending)
{
    const int nPrevious = GetSortColumn();
    m_nSortLogical = nItem >= 0 ? logicalIndex(nItem) : -1;
    m_bSortAscending = bAscending;
    if (m_nSortLogical >= 0 && m_nSortLogical < 32) {
        const std::uint32_t dwBit = 1u << m_nSortLogical;
        m_dwAscendingMask = bAscending ? (m_dwAscendingMask | dwBit) : (m_dwAscendingMask & ~dwBit);
    }
    viewport()->update();
    return nPrevious;
}

int CGridHeaderCtrl::GetSortColumn() const
{
    return m_nSortLogical < 0 ? -1 : visualIndex(m_nSortLogical);
}

bool CGridHeaderCtrl::IsAscending(int nItem) const
{
    return TestBit(m_dwAscendingMask, logicalIndex(nItem));
}

void CGridHeaderCtrl::SetNoMarkMask(std::uint32_t dwMask)
{
    m_dwNoMarkMask = dwMask;
    viewport()->update();
}

bool CGridHeaderCtrl::IsFixedWidth(int nLogical) const
{
    return TestBit(m_dwFixedWidthMask, nLogical);
}

bool CGridHeaderCtrl::MoveColumn(int &nFrom, int &nTo)
{
    if (nFrom <= 0 || nFrom >= count())
        return false;
    nTo = qBound(1, nTo, count());
    if (nTo == nFrom || nTo == nFrom + 1)
        return false;
    // Inserting before nTo and then removing the source leaves the column one place further
    // left when it moves right.
    moveSection(nFrom, nTo > nFrom ? nTo - 1 : nTo);
    return true;
}

void CGridHeaderCtrl::paintSection(QPainter *pPainter, const QRect &rect, int nLogical) const
{
    if (!rect.isValid())
        return;
    const int nItem = visualIndex(nLogical);
    const bool bPressed = nItem >= 0 && nItem == m_nPressedItem;

    pPainter->save();
    pPainter->setClipRect(rect, Qt::IntersectClip);
    QStyleOptionHeader opt;
    initStyleOption(&opt);
    opt.rect = rect;
    opt.section = nLogical;
    if (bPressed)
        opt.state |= QStyle::State_Sunken;
    if (count() == 1)
        opt.position = QStyleOptionHeader::OnlyOneSection;
    else if (nItem == 0)
        opt.position = QStyleOptionHeader::Beginning;
    else if (nItem == count() - 1)
        opt.position = QStyleOptionHeader::End;
    else
        opt.position = QStyleOptionHeader::Middle;
    style()->drawControl(QStyle::CE_HeaderSection, &opt, pPainter, this);

    // Margins and the mark scale with the font, measured in spaces.
    const int nSpace = pPainter->fontMetrics().horizontalAdvance(QLatin1Char(' '));
    DrawItemText(pPainter, rect, nLogical, nSpace, bPressed);
    if (nLogical == m_nSortLogical && !TestBit(m_dwNoMarkMask, nLogical))
        DrawSortMark(pPainter, rect, nSpace);
    if (m_bDragging && nItem == m_nDragItem) {
        pPainter->setCompositionMode(QPainter::CompositionMode_Difference);
        pPainter->fillRect(rect, Qt::white);
    }
    pPainter->restore();
}

void CGridHeaderCtrl::DrawItemText(QPainter *pPainter, const QRect &rcItem, int nLogical,
                                   int nSpace, bool bPressed) const
{
    QRect rc = rcItem;
    if (bPressed)
        rc.translate(1, 2);
    // The sorted column keeps room for its mark, even when the mark is not drawn.
    if (nLogical == m_nSortLogical)
        rc.setRight(rc.right() - 6 * nSpace);
    rc.adjust(2 * nSpace, 0, -2 * nSpace, 0);
    if (rc.width() <= 0 || model() == nullptr)
        return;

    const QString strText =
        model()->headerData(nLogical, orientation(), Qt::DisplayRole).toString();
    const QVariant align = model()->headerData(nLogical, orientation(), Qt::TextAlignmentRole);
    const Qt::Alignment hAlign =
        (align.isValid() ? Qt::Alignment::fromInt(align.toInt()) : defaultAlignment()) &
        Qt::AlignHorizontal_Mask;
    pPainter->setPen(palette().color(QPalette::ButtonText));
    const QString strShown =
        pPainter->fontMetrics().elidedText(strText, Qt::ElideRight, rc.width());
    pPainter->drawText(rc, static_cast<int>(hAlign | Qt::AlignVCenter | Qt::TextSingleLine),
                       strShown);
}

void CGridHeaderCtrl::DrawSortMark(QPainter *pPainter, const QRect &rcItem, int nSpace) const
{
    // A raised triangle: lit edges in the highlight colour, the shaded edge in the shadow
    // colour. R and B are the item's outer right and bottom edges.
    const int s = nSpace;
    const int R = rcItem.x() + rcItem.width();
    const int B = rcItem.y() + rcItem.height();
    const int T = rcItem.y();
    const QPen highlight(palette().color(QPalette::Light), 0);
    const QPen shadow(palette().color(QPalette::Dark), 0);
    pPainter->setRenderHint(QPainter::Antialiasing, false);
    if (m_bSortAscending) {
        const QPoint apex(R - 4 * s, T + 2 * s - 1);
        const QPoint right(R - 3 * s, B - 2 * s);
        const QPoint left(R - 5 * s - 2, B - 2 * s);
        pPainter->setPen(highlight);
        pPainter->drawLine(apex, right);
        pPainter->drawLine(right, left);
        pPainter->setPen(shadow);
        pPainter->drawLine(QPoint(R - 5 * s - 1, B - 2 * s - 1), QPoint(R - 4 * s, T + 2 * s - 2));
    } else {
        const QPoint topRight(R - 3 * s, T + 2 * s - 1);
        const QPoint apex(R - 4 * s - 1, B - 2 * s + 1);
        const QPoint topLeft(R - 5 * s - 1, T + 2 * s - 1);
        pPainter->setPen(highlight);
        pPainter->drawLine(topRight, apex);
        pPainter->setPen(shadow);
        pPainter->drawLine(QPoint(R - 4 * s - 1, B - 2 * s), topLeft);
        pPainter->drawLine(topLeft, topRight);
    }
}

void CGridHeaderCtrl::DrawInsertMark(QPainter *pPainter) const
{
    // Row by row, so the triangle has the same pixels whatever the paint engine: the apex on
    // the divider at the top, the base kInsertMarkSize - 2 pixels wide on the bottom row.
    const int nHalfBase = kInsertMarkSize / 2 - 1;
    const int d = m_rcInsertMark.left() + kInsertMarkSize / 2;
    const QColor red = QColor::fromRgb(kInsertMarkColor);
    for (int nRow = 0; nRow < kInsertMarkSize; ++nRow) {
        const int nHalf = (nHalfBase * nRow + nHalfBase) / (kInsertMarkSize - 1);
        pPainter->fillRect(d - nHalf, m_rcInsertMark.top() + nRow, 2 * nHalf + 1, 1, red);
    }
}

void CGridHeaderCtrl::paintEvent(QPaintEvent *pEvent)
{
    QHeaderView::paintEvent(pEvent);
    if (m_bDragging && m_rcInsertMark.isValid() && m_rcInsertMark.intersects(pEvent->rect())) {
        QPainter painter(viewport());
        DrawInsertMark(&painter);
    }
}

int CGridHeaderCtrl::DividerAt(int x) const
{
    const int nItem = visualIndexAt(x);
    if (nItem < 0)
        return -1;
    const int nLogical = logicalIndex(nItem);
    const int nLeft = sectionViewportPosition(nLogical);
    const int nGrip = style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, this);
    if (x > nLeft + sectionSize(nLogical) - nGrip)
        return nLogical;
    if (x < nLeft + nGrip) {
        for (int nPrev = nItem - 1; nPrev >= 0; --nPrev) {
            if (!isSectionHidden(logicalIndex(nPrev)))
                return logicalIndex(nPrev);
        }
    }
    return -1;
}

bool CGridHeaderCtrl::IsNearFixedDivider(int x) const
{
    if (m_dwFixedWidthMask == 0)
        return false;
    int nDivider = -offset();
    for (int nItem = 0; nItem < count(); ++nItem) {
        const int nLogical = logicalIndex(nItem);
        if (isSectionHidden(nLogical))
            continue;
        nDivider += sectionSize(nLogical);
        if (IsFixedWidth(nLogical) && std::abs(x - nDivider) < kCursorWidth / 2)
            return true;
    }
    return false;
}

int CGridHeaderCtrl::DropPositionAt(int x) const
{
    const int xHeader = x + offset();
    if (xHeader <= 0)
        return 0;
    int nRight = 0;
    for (int nItem = 0; nItem < static_cast<int>(m_savedWidths.size()); ++nItem) {
        nRight += m_savedWidths[nItem];
        if (xHeader < nRight)
            return nItem;
    }
    return static_cast<int>(m_savedWidths.size());
}

void CGridHeaderCtrl::mousePressEvent(QMouseEvent *pEvent)
{
    if (pEvent->button() == Qt::LeftButton) {
        const int x = pEvent->position().toPoint().x();
        const int nDivider = DividerAt(x);
        if (nDivider >= 0 && IsFixedWidth(nDivider)) {
            // A fixed column's divider cannot be taken: no resizing, no click, no drag.
            pEvent->accept();
            return;
        }
        if (nDivider >= 0 && sectionResizeMode(nDivider) == Interactive) {
            m_bTracking = true;
        } else {
            m_nPressedItem = visualIndexAt(x);
            if (m_nPressedItem >= 0) {
                m_nDragItem = m_nPressedItem;
                m_bDragPending = m_bDragEnabled;
                viewport()->update();
            }
        }
    }
    QHeaderView::mousePressEvent(pEvent);
}

void CGridHeaderCtrl::mouseMoveEvent(QMouseEvent *pEvent)
{
    const QPoint pt = pEvent->position().toPoint();
    if (pEvent->buttons() & Qt::LeftButton) {
        // No distance threshold: the first move with the button down starts the drag.
        if (m_bDragPending)
            BeginDrag();
        if (m_bDragging) {
            TrackDrag(pt);
            return;
        }
    } else if (m_bDragPending || m_bDragging || m_nPressedItem >= 0) {
        // The button went up where the header did not see it: nothing is dropped.
        CancelDrag();
    }
    QHeaderView::mouseMoveEvent(pEvent);
    if (pEvent->buttons() == Qt::NoButton && testAttribute(Qt::WA_SetCursor) &&
        IsNearFixedDivider(pt.x()))
        unsetCursor();
}

void CGridHeaderCtrl::mouseReleaseEvent(QMouseEvent *pEvent)
{
    bool bMoved = false;
    if (pEvent->button() == Qt::LeftButton) {
        if (m_bDragging)
            bMoved = EndDrag();
        m_bDragPending = false;
        m_bTracking = false;
        if (m_nPressedItem >= 0) {
            m_nPressedItem = -1;
            viewport()->update();
        }
    }
    if (!bMoved) {
        QHeaderView::mouseReleaseEvent(pEvent);
        return;
    }
    // The columns moved under the pointer, so the release may now be over the column that was
    // pressed: let the base class end its press away from every column, which is no click.
    QMouseEvent away(pEvent->type(), QPointF(-offset() - 1, -1), pEvent->globalPosition(),
                     pEvent->button(), pEvent->buttons(), pEvent->modifiers());
    QHeaderView::mouseReleaseEvent(&away);
}

void CGridHeaderCtrl::mouseDoubleClickEvent(QMouseEvent *pEvent)
{
    // Near a fixed column's divider a double click would size that column to its contents.
    if (IsNearFixedDivider(pEvent->position().toPoint().x())) {
        pEvent->accept();
        return;
    }
    QHeaderView::mouseDoubleClickEvent(pEvent);
}

void CGridHeaderCtrl::BeginDrag()
{
    m_bDragPending = false;
    if (m_nDragItem < 0 || m_nDragItem >= count())
        return;
    m_bDragging = true;
    m_nDropPos = m_nDragItem;
    m_savedWidths.assign(static_cast<size_t>(count()), 0);
    for (int nItem = 0; nItem < count(); ++nItem) {
        const int nLogical = logicalIndex(nItem);
        if (!isSectionHidden(nLogical))
            m_savedWidths[static_cast<size_t>(nItem)] = sectionSize(nLogical);
    }
    m_rcDragRect = QRect();
    m_rcInsertMark = QRect();
    m_sizeDragImage = QSize(m_savedWidths[static_cast<size_t>(m_nDragItem)], viewport()->height());
    viewport()->update();
}

void CGridHeaderCtrl::TrackDrag(const QPoint &pt)
{
    const int nDrop = DropPositionAt(pt.x());
    if (nDrop != m_nDropPos) {
        m_nDropPos = nDrop;
        viewport()->update(m_rcInsertMark);
        int d = -offset();
        for (int nItem = 0; nItem < nDrop; ++nItem)
            d += m_savedWidths[static_cast<size_t>(nItem)];
        const int H = viewport()->height();
        m_rcInsertMark =
            QRect(d - kInsertMarkSize / 2, H - kInsertMarkSize, kInsertMarkSize, kInsertMarkSize);
        viewport()->update(m_rcInsertMark);
    }

    QWidget *pHost = DragHost();
    if (m_pDragFrame == nullptr)
        m_pDragFrame = new CDragFrame(pHost);
    QRect rc(QPoint(0, 0), m_sizeDragImage);
    rc.moveCenter(viewport()->mapTo(pHost, pt));
    m_rcDragRect = rc;
    m_pDragFrame->setGeometry(rc);
    m_pDragFrame->show();
    m_pDragFrame->raise();
}

bool CGridHeaderCtrl::EndDrag()
{
    const int nDragItem = m_nDragItem;
    const int nDropPos = m_nDropPos;
    CancelDrag();
    if (nDropPos == nDragItem || nDropPos == nDragItem + 1)
        return false;
    int nFrom = nDragItem;
    int nTo = nDropPos;
    const bool bMoved = m_fnDrop ? m_fnDrop(nFrom, nTo) : MoveColumn(nFrom, nTo);
    viewport()->update();
    return bMoved;
}

void CGridHeaderCtrl::CancelDrag()
{
    m_bDragPending = false;
    m_bDragging = false;
    m_nPressedItem = -1;
    m_savedWidths.clear();
    if (m_pDragFrame != nullptr)
        m_pDragFrame->hide();
    m_rcDragRect = QRect();
    m_rcInsertMark = QRect();
    viewport()->update();
}

QWidget *CGridHeaderCtrl::DragHost()
{
    return parentWidget() != nullptr ? parentWidget() : this;
}

void CGridHeaderCtrl::OnSectionResized(int nLogical, int, int nNewSize)
{
    if (m_bTracking && nNewSize < kMinColumnWidth && visualIndex(nLogical) > 0)
        resizeSection(nLogical, kMinColumnWidth);
}
