// The grid header: its sort mark, column drags with their insertion mark, and the limits on
// resizing columns.

#include "GridHeaderCtrl.h"
#include "HeaderTestKit.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

namespace
{

constexpr int kColumns = 4;
constexpr int kWidth = 100;
// Lit and shaded colours no header face uses, so the mark's pixels stand out.
constexpr QRgb kLit = qRgb(0, 255, 0);
constexpr QRgb kShade = qRgb(0, 0, 255);

class GridHeaderTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_model.setColumnCount(kColumns);
        m_model.setRowCount(5);
        m_model.setHorizontalHeaderLabels(
            {"Type", "Name", "Value", "Notes and remarks on the row"});
        m_pHeader = new CGridHeaderCtrl;
        m_table.setHorizontalHeader(m_pHeader);
        m_table.setModel(&m_model);
        for (int nColumn = 0; nColumn < kColumns; ++nColumn)
            m_pHeader->resizeSection(nColumn, kWidth);
        m_table.resize(600, 300);
        m_table.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_table));
    }

    QWidget *Viewport() const { return m_pHeader->viewport(); }
    int Left(int nItem) const
    {
        return m_pHeader->sectionViewportPosition(m_pHeader->logicalIndex(nItem));
    }
    int Mid(int nItem) const
    {
        return Left(nItem) + m_pHeader->sectionSize(m_pHeader->logicalIndex(nItem)) / 2;
    }
    // Just left of the item's right divider, where the divider can be taken.
    int Divider(int nItem) const
    {
        return Left(nItem) + m_pHeader->sectionSize(m_pHeader->logicalIndex(nItem)) - 1;
    }
    int MidY() const { return Viewport()->height() / 2; }
    QList<int> Order() const
    {
        QList<int> order;
        for (int nItem = 0; nItem < m_pHeader->count(); ++nItem)
            order.append(m_pHeader->logicalIndex(nItem));
        return order;
    }
    // The items whose area holds mark pixels, with the marks' bounding box.
    QList<int> ItemsWithMark(const QImage &image, QRect *pBox) const
    {
        QList<int> items;
        for (int nItem = 0; nItem < m_pHeader->count(); ++nItem) {
            const QRect area(Left(nItem), 0, kWidth, image.height());
            const QRect box = FindColour(image, area, kLit, kShade);
            if (!box.isEmpty()) {
                items.append(nItem);
                *pBox = box;
            }
        }
        return items;
    }

    QStandardItemModel m_model;
    QTableView m_table;
    CGridHeaderCtrl *m_pHeader = nullptr;
};

TEST_F(GridHeaderTest, SortMarkPointsUpAscendingDownDescendingAndIsLeftOffNoMarkColumns)
{
    m_pHeader->SetSortColumn(3, true);
    SaveShot(Viewport()->grab().toImage(), "header_sorted");
    m_pHeader->SetSortColumn(-1, true);

    QPalette palette = m_pHeader->palette();
    palette.setColor(QPalette::Light, QColor::fromRgb(kLit));
    palette.setColor(QPalette::Dark, QColor::fromRgb(kShade));
    m_pHeader->setPalette(palette);
    QRect box;

    EXPECT_EQ(m_pHeader->SetSortColumn(1, true), -1);
    QImage image = Viewport()->grab().toImage();
    SaveShot(image, "header_sorted_ascending");
    ASSERT_EQ(ItemsWithMark(image, &box), QList<int>{1});
    EXPECT_GT(box.left(), Mid(1)) << "the mark sits at the item's right end";
    EXPECT_LT(box.right(), Left(2));
    EXPECT_LE(SpanInRow(image, box.top(), box.left(), box.right(), kLit, kShade), 2);
    EXPECT_EQ(SpanInRow(image, box.bottom(), box.left(), box.right(), kLit, kShade), box.width());
    EXPECT_TRUE(m_pHeader->IsAscending(1));

    EXPECT_EQ(m_pHeader->SetSortColumn(1, false), 1);
    image = Viewport()->grab().toImage();
    SaveShot(image, "header_sorted_descending");
    ASSERT_EQ(ItemsWithMark(image, &box), QList<int>{1});
    EXPECT_EQ(SpanInRow(image, box.top(), box.left(), box.right(), kLit, kShade), box.width());
    EXPECT_LE(SpanInRow(image, box.bottom(), box.left(), box.right(), kLit, kShade), 2);
    EXPECT_FALSE(m_pHeader->IsAscending(1));

    m_pHeader->SetNoMarkMask(1u << 2);
    EXPECT_EQ(m_pHeader->SetSortColumn(2, true), 1);
    EXPECT_EQ(m_pHeader->GetSortColumn(), 2);
    EXPECT_TRUE(ItemsWithMark(Viewport()->grab().toImage(), &box).isEmpty());
}

TEST_F(GridHeaderTest, NoColumnGoesBeforeTheFirstAndTheFirstNeverMoves)
{
    QSignalSpy clicks(m_pHeader, &QHeaderView::sectionClicked);
    m_pHeader->SetSortColumn(2, true);
    const int y = MidY();

    // Dropped at the far left, a column lands at position 1, and the sort mark goes with it.
    DragFromTo(Viewport(), {Mid(2), y}, {Mid(1), y}, {1, y});
    EXPECT_EQ(Order(), (QList<int>{0, 2, 1, 3}));
    EXPECT_EQ(m_pHeader->GetSortColumn(), 1);

    DragFromTo(Viewport(), {Mid(0), y}, {Mid(1), y}, {Mid(3), y});
    EXPECT_EQ(Order(), (QList<int>{0, 2, 1, 3})) << "the first column stays";
    // Dropped on its own right divider, a column stays where it is.
    DragFromTo(Viewport(), {Mid(2), y}, {Mid(2) + 20, y}, {Left(3) + 2, y});
    EXPECT_EQ(Order(), (QList<int>{0, 2, 1, 3}));
    // A drag that moved a column is no click, even when the column now lies under the pointer.
    DragFromTo(Viewport(), {Mid(3), y}, {Mid(2), y}, {Left(2) + 10, y});
    EXPECT_EQ(Order(), (QList<int>{0, 2, 3, 1}));
    EXPECT_EQ(clicks.count(), 0);
    // Released over the column it pressed, it is one.
    DragFromTo(Viewport(), {Mid(3), y}, {Mid(3) + 2, y}, {Mid(3) + 4, y});
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toInt(), 1);

    // The list's drop function sees the drop at 0 turned into 1.
    int nSeenFrom = -1;
    int nSeenTo = -1;
    m_pHeader->SetDropFunction([&](int &nFrom, int &nTo) {
        const bool bMoved = m_pHeader->MoveColumn(nFrom, nTo);
        nSeenFrom = nFrom;
        nSeenTo = nTo;
        return bMoved;
    });
    DragFromTo(Viewport(), {Mid(3), y}, {Mid(1), y}, {0, y});
    EXPECT_EQ(nSeenFrom, 3);
    EXPECT_EQ(nSeenTo, 1);
    EXPECT_EQ(Order(), (QList<int>{0, 1, 2, 3}));
}

TEST_F(GridHeaderTest, InsertionMarkIsRedOnTheDividerWhereTheColumnWillLand)
{
    const int y = MidY();
    PressAt(Viewport(), {Mid(3), y});
    MoveTo(Viewport(), {Mid(3) - 5, y});
    ASSERT_TRUE(m_pHeader->IsDragging());
    EXPECT_TRUE(m_pHeader->GetInsertMarkRect().isEmpty()) << "no mark before the drop moves";
    MoveTo(Viewport(), {Mid(1), y});
    EXPECT_EQ(m_pHeader->GetDropPosition(), 1);

    const QImage image = Viewport()->grab().toImage();
    SaveShot(m_table.grab().toImage(), "header_column_drag");
    const int d = Left(1);
    const int H = Viewport()->height();
    const QRgb red = CGridHeaderCtrl::kInsertMarkColor;
    EXPECT_EQ(FindColour(image, image.rect(), red, red),
              QRect(QPoint(d - 3, H - 8), QPoint(d + 3, H - 1)));
    EXPECT_EQ(image.pixel(d, H - 8) | 0xFF000000u, red | 0xFF000000u) << "apex up, on the divider";
    // The dragged column's outline follows the pointer over the list.
    EXPECT_EQ(m_pHeader->GetDragRect().size(), QSize(kWidth, H));
    EXPECT_EQ(m_pHeader->GetDragRect().center(), Viewport()->mapTo(&m_table, QPoint(Mid(1), y)));

    ReleaseAt(Viewport(), {Mid(1), y});
    EXPECT_EQ(Order(), (QList<int>{0, 3, 1, 2}));
    EXPECT_FALSE(m_pHeader->IsDragging());
    EXPECT_TRUE(m_pHeader->GetDragRect().isEmpty());
    const QImage after = Viewport()->grab().toImage();
    EXPECT_TRUE(FindColour(after, after.rect(), red, red).isEmpty());
}

TEST_F(GridHeaderTest, ColumnsButTheFirstStaySixteenWideAndFixedColumnsKeepTheirWidth)
{
    m_pHeader->SetFixedWidthMask(1u << 2);
    const int y = MidY();

    DragFromTo(Viewport(), {Divider(1), y}, {Divider(1) - 50, y}, {Mid(0), y});
    EXPECT_EQ(m_pHeader->sectionSize(1), CGridHeaderCtrl::kMinColumnWidth);
    DragFromTo(Viewport(), {Divider(0), y}, {Mid(0), y}, {5, y});
    EXPECT_LT(m_pHeader->sectionSize(0), CGridHeaderCtrl::kMinColumnWidth);

    // A fixed column's divider does not move, nor does the column.
    DragFromTo(Viewport(), {Divider(2), y}, {Divider(2) + 20, y}, {Divider(2) + 40, y});
    EXPECT_EQ(m_pHeader->sectionSize(2), kWidth);
    EXPECT_EQ(Order(), (QList<int>{0, 1, 2, 3}));

    // Over it the pointer stays an arrow, and a double click does not size it to its contents.
    MoveTo(Viewport(), {Divider(1), y});
    EXPECT_EQ(m_pHeader->cursor().shape(), Qt::SplitHCursor);
    MoveTo(Viewport(), {Divider(2), y});
    EXPECT_EQ(m_pHeader->cursor().shape(), Qt::ArrowCursor);
    QSignalSpy autoSize(m_pHeader, &QHeaderView::sectionHandleDoubleClicked);
    DoubleClickAt(Viewport(), {Divider(2), y});
    EXPECT_EQ(autoSize.count(), 0);
    EXPECT_EQ(m_pHeader->sectionSize(2), kWidth);
    DoubleClickAt(Viewport(), {Divider(3), y});
    EXPECT_EQ(autoSize.count(), 1);
}

} // namespace
