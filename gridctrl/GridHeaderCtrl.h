#pragma once

#include <QColor>
#include <QHeaderView>
#include <QPointer>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <functional>
#include <vector>

// The grid list's column header. It draws every item itself (text cut with an ellipsis, a
// raised sort mark on the sorted column), lets the user drag a column to another place with a
// red mark where it will land, and keeps fixed-width columns at their width.
//
// It knows nothing of the list; the list feeds it through this interface:
// - Item index: a column's position on screen (the header's visual index). Column id: the
//   header's logical index, that is the model's column number. Every mask is indexed by
//   column id, bit n for column id n, so it stays right when columns are moved.
// - From the column definitions: SetFixedWidthMask (columns the user cannot resize),
//   SetNoMarkMask (columns sorted without a mark), SetAscendingMask (the preset direction
//   bits: a column whose bit is set sorts descending on its first click).
// - Sorting stays with the list: on sectionClicked(logical) it sorts with
//   ascending = !IsAscending(position) and reports it with SetSortColumn(position, ascending).
//   Do not switch on QHeaderView's own sort indicator or QTableView::setSortingEnabled.
// - A finished drag calls the drop function with the dragged position and the drop position
//   (the column ends up just before the column that was at the drop position). Without one
//   the header calls MoveColumn, which moves the section on screen only; a list that needs to
//   do more (end an edit, take the focus) installs a function that does that and then calls
//   MoveColumn. Columns must be moved as sections (visual order) so the sort mark and the
//   masks follow them.
// - Only left-to-right horizontal headers are supported.
class CGridHeaderCtrl : public QHeaderView
{
    Q_OBJECT

public:
    // No column but the first may be made narrower than this by the user.
    static constexpr int kMinColumnWidth = 16;
    // The insertion mark: a triangle this wide and tall, on the drop position's left divider.
    static constexpr int kInsertMarkSize = 8;
    static constexpr QRgb kInsertMarkColor = qRgb(255, 0, 0);
    // The pointer's width; within half of it from a fixed column's divider the cursor stays an
    // arrow and a double click does nothing.
    static constexpr int kCursorWidth = 32;
    // The drag rectangle's border.
    static constexpr int kDragFrameWidth = 2;

    // Returns true when it moved a column; nFrom and nTo may be adjusted to what was done.
    using DropFunction = std::function<bool(int &nFrom, int &nTo)>;

    explicit CGridHeaderCtrl(QWidget *pParent = nullptr);
    ~CGridHeaderCtrl() override;

    // Makes the item at nItem the sorted column (-1: none) with the given direction and
    // records the direction in the column's ascending bit. Returns the previous sorted item.
    int SetSortColumn(int nItem, bool bAscending);
    int GetSortColumn() const;
    bool IsSortAscending() const { return m_bSortAscending; }
    // The column's ascending bit: whether it was last sorted ascending.
    bool IsAscending(int nItem) const;

    void SetFixedWidthMask(std::uint32_t dwMask) { m_dwFixedWidthMask = dwMask; }
    std::uint32_t GetFixedWidthMask() const { return m_dwFixedWidthMask; }
    void SetNoMarkMask(std::uint32_t dwMask);
    std::uint32_t GetNoMarkMask() const { return m_dwNoMarkMask; }
    void SetAscendingMask(std::uint32_t dwMask) { m_dwAscendingMask = dwMask; }
    std::uint32_t GetAscendingMask() const { return m_dwAscendingMask; }
    bool IsFixedWidth(int nLogical) const;

    void SetDragEnabled(bool bEnabled) { m_bDragEnabled = bEnabled; }
    bool IsDragEnabled() const { return m_bDragEnabled; }
    void SetDropFunction(DropFunction fnDrop) { m_fnDrop = std::move(fnDrop); }
    // Moves the column at nFrom to just before the column at nTo, on screen only. The first
    // column never moves and nothing goes before it: a drop at 0 lands at 1.
    bool MoveColumn(int &nFrom, int &nTo);

    // The drag in progress, for the list and for tests.
    bool IsDragging() const { return m_bDragging; }
    int GetDropPosition() const { return m_nDropPos; }
    // In viewport coordinates; empty until the drop position first changes.
    QRect GetInsertMarkRect() const { return m_rcInsertMark; }
    // In the coordinates of the widget the header sits in (the list); empty when none.
    QRect GetDragRect() const { return m_rcDragRect; }

protected:
    void paintSection(QPainter *pPainter, const QRect &rect, int nLogical) const override;
    void paintEvent(QPaintEvent *pEvent) override;
    void mousePressEvent(QMouseEvent *pEvent) override;
    void mouseMoveEvent(QMouseEvent *pEvent) override;
    void mouseReleaseEvent(QMouseEvent *pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent *pEvent) override;

private:
    void DrawItemText(QPainter *pPainter, const QRect &rcItem, int nLogical, int nSpace,
                      bool bPressed) const;
    void DrawSortMark(QPainter *pPainter, const QRect &rcItem, int nSpace) const;
    void DrawInsertMark(QPainter *pPainter) const;

    // The column left of the divider under x (within the style's grip margin), or -1.
    int DividerAt(int x) const;
    // Whether x lies within half a cursor width of a fixed column's right divider.
    bool IsNearFixedDivider(int x) const;
    // The item under x by the widths saved at the drag's start: 0 left of the first item,
    // the item count right of the last.
    int DropPositionAt(int x) const;

    void BeginDrag();
    void TrackDrag(const QPoint &pt);
    // Ends the drag and drops the column; true when a column moved.
    bool EndDrag();
    void CancelDrag();
    QWidget *DragHost();
    void OnSectionResized(int nLogical, int nOldSize, int nNewSize);

    int m_nSortLogical = -1;
    bool m_bSortAscending = true;
    std::uint32_t m_dwAscendingMask = 0;
    std::uint32_t m_dwNoMarkMask = 0;
    std::uint32_t m_dwFixedWidthMask = 0;

    bool m_bDragEnabled = true;
    bool m_bDragPending = false;
    bool m_bDragging = false;
    // The user is dragging a divider: only then is the minimum width enforced, so the list
    // may still hide a column or set any width itself.
    bool m_bTracking = false;
    int m_nPressedItem = -1;
    int m_nDragItem = -1;
    int m_nDropPos = -1;
    std::vector<int> m_savedWidths;
    QSize m_sizeDragImage;
    QRect m_rcDragRect;
    QRect m_rcInsertMark;
    // Drawn over the list while dragging; a child of the list, so it may go past the header.
    QPointer<QWidget> m_pDragFrame;
    DropFunction m_fnDrop;
};
