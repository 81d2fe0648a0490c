// Sorting rows as shown by a header click, the sort keys, and moving columns.
#include "GridHeaderCtrl.h"
#include "GridSortKeys.h"
#include "GridTestKit.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

namespace
{
void ClickHeader(CGridListView *pList, int nPos)
{
    QHeaderView *pHeader = pList->horizontalHeader();
    const int nLogical = pHeader->logicalIndex(nPos);
    const QPoint point(pHeader->sectionViewportPosition(nLogical) + 10, pHeader->height() / 2);
    QTest::mouseClick(pHeader->viewport(), Qt::LeftButton, Qt::NoModifier, point);
    QApplication::processEvents();
}

QStringList Captions(const CGridListView *pList)
{
    QStringList captions;
    for (int nPos = 0; nPos < pList->GetColumnCount(); ++nPos)
        captions << pList->GetColumnCaption(nPos);
    return captions;
}
} // namespace

TEST(GridSortKeys, NumbersAreReadAsTheCLibraryReadsThem)
{
    EXPECT_EQ(CGridSortKeys::NumberOf("42"), 42);
    EXPECT_EQ(CGridSortKeys::NumberOf("  -17abc"), -17);
    EXPECT_EQ(CGridSortKeys::NumberOf("+8"), 8);
    EXPECT_EQ(CGridSortKeys::NumberOf("abc"), 0);
    EXPECT_EQ(CGridSortKeys::NumberOf(""), 0);
    EXPECT_EQ(CGridSortKeys::NumberOf("1.500"), 1);
    EXPECT_EQ(CGridSortKeys::NumberOf("99999999999999"), 2147483647);
    EXPECT_EQ(CGridSortKeys::NumberOf("-99999999999999"), -2147483647 - 1);
    EXPECT_EQ(CGridSortKeys::DottedNumberOf("1.500"), 1500);
    EXPECT_EQ(CGridSortKeys::DottedNumberOf("1.2.3"), 123);
    EXPECT_EQ(CGridSortKeys::DottedNumberOf(".x"), 0);
}

using GridSorting = GridTest;

TEST_F(GridSorting, ASortableColumnSortsDescendingFirstThenEachClickReverses)
{
    m_pList->SetColumns({{0, "Kind", COLDEF_SORTABLE, 100},
                         {1, "Number", COLDEF_NUMSORT | COLDEF_SORTABLE, 100},
                         {2, "Dotted", COLDEF_NUMSORT | COLDEF_DOTNUMSORT | COLDEF_SORTABLE, 100}});
    m_pList->Fill({{"beta", "10", "1.500"},
                   {"Alpha", "9", "20"},
                   {"gamma", "x", "1.1"},
                   {"ALPHA", "-3", "3"}});
    ClickHeader(m_pList, 0);
    EXPECT_EQ(m_pList->ShownColumn(0), QStringList({"gamma", "beta", "Alpha", "ALPHA"}));
    EXPECT_EQ(m_pList->GetHeaderState().nSortColumn, 0);
    EXPECT_FALSE(m_pList->GetHeaderState().bSortAscending);
    EXPECT_TRUE(m_pList->horizontalHeader()->isSortIndicatorShown());
    EXPECT_EQ(m_pList->horizontalHeader()->sortIndicatorSection(), 0);
    EXPECT_EQ(m_pList->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    ClickHeader(m_pList, 0);
    // Case does not count; equal keys keep the order they had.
    EXPECT_EQ(m_pList->ShownColumn(0), QStringList({"Alpha", "ALPHA", "beta", "gamma"}));
    EXPECT_TRUE(m_pList->GetHeaderState().bSortAscending);

    // Numbers, with text that starts with none as 0.
    ClickHeader(m_pList, 1);
    EXPECT_EQ(m_pList->ShownColumn(1), QStringList({"10", "9", "x", "-3"}));
    // Dotted numbers win over plain numbers: 1.500 is 1500, 1.1 is 11.
    ClickHeader(m_pList, 2);
    EXPECT_EQ(m_pList->ShownColumn(2), QStringList({"1.500", "20", "1.1", "3"}));
    ClickHeader(m_pList, 2);
    EXPECT_EQ(m_pList->ShownColumn(2), QStringList({"3", "1.1", "20", "1.500"}));

    // The owner's rows keep their order; each list row still carries its own datum.
    EXPECT_EQ(m_pList->rows[0][0], "beta");
    EXPECT_EQ(m_pList->OwnerRow(0)[2], "3");
}

TEST_F(GridSorting, ColumnsWithoutTheSortableFlagOrWithoutSortOnClickDoNotSort)
{
    m_pList->SetColumns({{0, "Fixed order", 0, 100}, {1, "Sortable", COLDEF_SORTABLE, 100}});
    m_pList->Fill({{"b", "2"}, {"a", "1"}});
    ClickHeader(m_pList, 0);
    EXPECT_EQ(m_pList->ShownColumn(0), QStringList({"b", "a"}));
    EXPECT_EQ(m_pList->GetHeaderState().nSortColumn, -1);
    EXPECT_FALSE(m_pList->horizontalHeader()->isSortIndicatorShown());
    // The mark stays on the sorted column when a column that does not sort is clicked.
    ClickHeader(m_pList, 1);
    ClickHeader(m_pList, 0);
    EXPECT_EQ(m_pList->horizontalHeader()->sortIndicatorSection(), 1);
    EXPECT_EQ(m_pList->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    m_pList->SetOptions(GLO_SORTONCLICK, 0);
    ClickHeader(m_pList, 1);
    EXPECT_EQ(m_pList->ShownColumn(1), QStringList({"2", "1"}));
    EXPECT_EQ(m_pList->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
}

TEST(GridSortingAlone, AColumnWithoutADefinitionSortsAscendingFirstAndNoMarkHidesTheMark)
{
    TestList list;
    list.SetColumns({{0, "Kind", 0, 100}, {1, "Quiet", COLDEF_SORTABLE | COLDEF_NOSORTMARK, 100}});
    list.Fill({{"b", "1"}, {"a", "2"}});
    list.SortByColumn(1);
    EXPECT_EQ(list.ShownColumn(1), QStringList({"2", "1"}));
    EXPECT_FALSE(list.horizontalHeader()->isSortIndicatorShown());
    // Without any definitions every column sorts, ascending first.
    list.CreateColumnDefinitions();
    list.SortByColumn(0);
    EXPECT_EQ(list.ShownColumn(0), QStringList({"a", "b"}));
    EXPECT_TRUE(list.horizontalHeader()->isSortIndicatorShown());
    EXPECT_EQ(list.horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
}

TEST_F(GridSorting, SortingCommitsAnOpenEditorAndKeepsTheSelectionOnItsRow)
{
    m_pList->Fill({{"a", "1", "x"}, {"b", "2", "y"}, {"c", "3", "z"}});
    Click(0, 1);
    Click(0, 1);
    auto *pEdit = qobject_cast<QLineEdit *>(m_pList->GetCellEditor());
    ASSERT_NE(pEdit, nullptr);
    pEdit->setText("7");
    ClickHeader(m_pList, 1);
    EXPECT_EQ(m_pList->GetCellEditor(), nullptr);
    EXPECT_EQ(m_pList->rows[0][1], "7");
    EXPECT_EQ(m_pList->ShownColumn(1), QStringList({"7", "3", "2"}));
    EXPECT_EQ(m_pList->GetSelectedRows(), std::vector<int>{0});
    EXPECT_EQ(m_pList->GetFocusedRow(), 0);
}

TEST_F(GridSorting, MovingAColumnNeverMovesTheFirstAndKeepsItsCells)
{
    m_pList->Fill({{"k", "n", "v"}});
    int nFrom = 0;
    int nTo = 2;
    m_pList->MoveColumn(nFrom, nTo);
    EXPECT_EQ(Captions(m_pList), QStringList({"Kind", "Name", "Value"}));

    // A drop on position 0 lands at 1, before the column that was there.
    nFrom = 2;
    nTo = 0;
    m_pList->MoveColumn(nFrom, nTo);
    EXPECT_EQ(nTo, 1);
    EXPECT_EQ(nFrom, 3);
    EXPECT_EQ(Captions(m_pList), QStringList({"Kind", "Value", "Name"}));
    EXPECT_EQ(m_pList->GetCellText(0, 1), "v");
    EXPECT_EQ(m_pList->GetColumnId(1), 2);
    EXPECT_EQ(m_pList->GetColumnWidth(1), 200);

    // Dropping just right of itself changes nothing; past the end goes last.
    nFrom = 1;
    nTo = 2;
    m_pList->MoveColumn(nFrom, nTo);
    EXPECT_EQ(Captions(m_pList), QStringList({"Kind", "Value", "Name"}));
    nTo = 3;
    m_pList->MoveColumn(nFrom, nTo);
    EXPECT_EQ(Captions(m_pList), QStringList({"Kind", "Name", "Value"}));

    // A drag in the header follows the same rules.
    m_pList->horizontalHeader()->moveSection(2, 0);
    EXPECT_EQ(Captions(m_pList), QStringList({"Kind", "Value", "Name"}));
    m_pList->horizontalHeader()->moveSection(0, 2);
    EXPECT_EQ(Captions(m_pList), QStringList({"Kind", "Value", "Name"}));
}

// The list draws its header itself: the raised mark follows the sort, and a column dragged to
// the front lands second.
TEST(GridSortingAlone, TheDrawnHeaderFollowsTheSortAndTheMoveRules)
{
    TestList list;
    list.SetColumns({{0, "Kind", COLDEF_SORTABLE, 100},
                     {1, "Name", COLDEF_SORTABLE, 100},
                     {2, "Value", COLDEF_SORTABLE, 100}});
    list.Fill({{"b", "1", "x"}, {"a", "2", "y"}});
    auto *pHeader = qobject_cast<CGridHeaderCtrl *>(list.horizontalHeader());
    ASSERT_NE(pHeader, nullptr);
    list.SortByColumn(1);
    EXPECT_EQ(pHeader->GetSortColumn(), 1);
    EXPECT_EQ(pHeader->IsSortAscending(), list.GetHeaderState().bSortAscending);
    int nFrom = 2;
    int nTo = 0;
    EXPECT_TRUE(pHeader->MoveColumn(nFrom, nTo));
    EXPECT_EQ(pHeader->logicalIndex(0), 0);
    EXPECT_EQ(pHeader->logicalIndex(1), 2);
}
