// The rows the tree pane fills and reads back: positions, order, fill state, display.
#include "PanesTestKit.h"

#include "MessageRecorder.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QTest>

namespace
{
void ClickHeader(CPellixGridView *pGrid, int nSection)
{
    QHeaderView *pHeader = pGrid->horizontalHeader();
    const QPoint point(pHeader->sectionViewportPosition(nSection) +
                           pHeader->sectionSize(nSection) / 2,
                       pHeader->height() / 2);
    QTest::mouseClick(pHeader->viewport(), Qt::LeftButton, Qt::NoModifier, point);
}

QStringList ShownNames(const CPellixGridView *pGrid)
{
    QStringList names;
    for (int nItem = 0; nItem < pGrid->GetItemCount(); ++nItem)
        names << pGrid->GetCellText(nItem, pGrid->FindColumn(CPellixGridView::ColName));
    return names;
}
} // namespace

using GridRows = PanesTest;

TEST_F(GridRows, AddRowInsertsAtItsPositionAndAppendsPastTheEnd)
{
    Fill({{dom::NODE_ATTRIBUTE, "a", "1"}, {dom::NODE_TEXT, "#text", "t"}});
    m_pGrid->AddRow(1, dom::NODE_COMMENT, "#comment", "c");
    m_pGrid->AddRow(99, dom::NODE_PROCESSING_INSTRUCTION, "pi", "data");
    m_pGrid->AddRow(0, dom::NODE_CDATA_SECTION, "#cdata-section", "x");
    ASSERT_EQ(m_pGrid->GetRowCount(), 5);
    EXPECT_EQ(RowAt(*m_pGrid, 0), (RowValue{4, "#cdata-section", "x"}));
    EXPECT_EQ(RowAt(*m_pGrid, 1), (RowValue{2, "a", "1"}));
    EXPECT_EQ(RowAt(*m_pGrid, 2), (RowValue{8, "#comment", "c"}));
    EXPECT_EQ(RowAt(*m_pGrid, 3), (RowValue{3, "#text", "t"}));
    EXPECT_EQ(RowAt(*m_pGrid, 4), (RowValue{7, "pi", "data"}));
    EXPECT_EQ(m_pGrid->GetRow(5), nullptr);
    EXPECT_EQ(m_pGrid->GetRow(-1), nullptr);
}

TEST_F(GridRows, RowRecordsKeepTheirAddressWhileRowsAreAdded)
{
    Fill({{dom::NODE_ATTRIBUTE, "a", "1"}});
    const GridRow *pFirst = m_pGrid->GetRow(0);
    for (int i = 0; i < 50; ++i)
        m_pGrid->AddRow(0, dom::NODE_TEXT, "#text", QString::number(i));
    EXPECT_EQ(m_pGrid->GetRow(50), pFirst);
    EXPECT_EQ(pFirst->strName, "a");
}

TEST_F(GridRows, HeaderSortingChangesOnlyTheShownOrder)
{
    Fill({{dom::NODE_ATTRIBUTE, "b", "2"},
          {dom::NODE_ATTRIBUTE, "a", "1"},
          {dom::NODE_ATTRIBUTE, "c", "30"}});
    // Values sort as numbers; the first click on a header sorts descending, the next ascending.
    ClickHeader(m_pGrid, 2);
    EXPECT_EQ(ShownNames(m_pGrid), QStringList({"c", "b", "a"}));
    EXPECT_EQ(RowAt(*m_pGrid, 0).strName, "b");
    EXPECT_EQ(RowAt(*m_pGrid, 1).strName, "a");

    // A hit on a shown row gives the text pane the row in fill order.
    ClickCell(1, 2);
    EXPECT_EQ(m_pGrid->m_nHitRow, 2);
    EXPECT_EQ(m_pText->toPlainText(), "1");
    EXPECT_EQ(m_pText->GetTargetRow(), 1);
    FocusTextPane();
    Type("0");
    EXPECT_EQ(RowAt(*m_pGrid, 1), (RowValue{2, "a", "10"}));

    ClickHeader(m_pGrid, 2);
    EXPECT_EQ(ShownNames(m_pGrid), QStringList({"b", "a", "c"}));
    ClickHeader(m_pGrid, 2);
    EXPECT_EQ(ShownNames(m_pGrid), QStringList({"c", "a", "b"}));
    // Names sort as numbers too, so names that are no numbers keep their order.
    ClickHeader(m_pGrid, 1);
    EXPECT_EQ(ShownNames(m_pGrid), QStringList({"c", "a", "b"}));
    // Rows inserted later go where they are inserted in both orders.
    m_pGrid->InsertEmptyRow(dom::NODE_COMMENT);
    EXPECT_EQ(ShownNames(m_pGrid), QStringList({"c", "a", "b", ""}));
    EXPECT_EQ(RowAt(*m_pGrid, 3).nKind, 8);
    EXPECT_EQ(RowAt(*m_pGrid, 0).strName, "b");
    EXPECT_TRUE(m_pGrid->AreRowsEdited());
}

TEST_F(GridRows, FilledRowsAreCleanAndRowsAddedLaterAreEdits)
{
    EXPECT_FALSE(m_pGrid->IsShowingNode());
    m_pGrid->BeginFill();
    m_pGrid->AddRow(0, dom::NODE_ATTRIBUTE, "a", "1");
    EXPECT_FALSE(m_pGrid->AreRowsEdited());
    m_pGrid->EndFill();
    EXPECT_TRUE(m_pGrid->IsShowingNode());
    EXPECT_FALSE(m_pGrid->AreRowsEdited());
    EXPECT_FALSE(IsModified());

    m_pGrid->AddRow(1, dom::NODE_ATTRIBUTE, "b", "2");
    EXPECT_TRUE(m_pGrid->AreRowsEdited());
    EXPECT_TRUE(IsModified());

    // A refill starts clean again.
    Fill({{dom::NODE_ATTRIBUTE, "a", "1"}});
    EXPECT_FALSE(m_pGrid->AreRowsEdited());
}

TEST_F(GridRows, DeleteAllRowsForgetsHitCellNodeAndEdits)
{
    Fill({{dom::NODE_ATTRIBUTE, "a", "1"}, {dom::NODE_ATTRIBUTE, "", ""}});
    ClickCell(0, 2);
    m_pGrid->SetCellFromTextPane(0, 2, "changed");
    ASSERT_EQ(m_pGrid->m_nHitRow, 0);
    ASSERT_TRUE(m_pGrid->AreRowsEdited());

    m_pGrid->DeleteAllRows();
    EXPECT_EQ(m_pGrid->GetRowCount(), 0);
    EXPECT_EQ(m_pGrid->m_nHitRow, -1);
    EXPECT_EQ(m_pGrid->m_nHitCol, -1);
    EXPECT_FALSE(m_pGrid->IsShowingNode());
    EXPECT_FALSE(m_pGrid->AreRowsEdited());
    EXPECT_EQ(m_pText->GetTargetRow(), -1);
    EXPECT_EQ(m_pText->IsLocked(), 1);
}

TEST_F(GridRows, CellsShowKindNamesNamesAndValuesInTheirFormats)
{
    Fill({{dom::NODE_ATTRIBUTE, "a", "1"},
          {dom::NODE_TEXT, "#text", "t"},
          {dom::NODE_COMMENT, "#comment", "c"},
          {dom::NODE_PROCESSING_INSTRUCTION, "pi", "d"},
          {dom::NODE_CDATA_SECTION, "#cdata-section", "x"},
          {dom::NODE_ENTITY_REFERENCE, "odd", "kind"}});
    const QStringList kinds = {"Attribute",          "Text",         "Comment",
                               "ProcessInstruction", "CDATASection", ""};
    for (int nRow = 0; nRow < kinds.size(); ++nRow)
        EXPECT_EQ(CellText(nRow, 0), kinds[nRow]) << "row " << nRow;
    EXPECT_EQ(CellText(3, 1), "pi");
    EXPECT_EQ(CellText(3, 2), "d");

    const auto format = [](int nColumn) {
        GridCellFormat request;
        request.nCode = GRIDQ_FORMAT;
        request.nColumn = nColumn;
        return request;
    };
    GridCellFormat type = format(CPellixGridView::ColType);
    GridCellFormat name = format(CPellixGridView::ColName);
    GridCellFormat value = format(CPellixGridView::ColValue);
    ASSERT_TRUE(m_pGrid->GetGridCellFormat(type));
    ASSERT_TRUE(m_pGrid->GetGridCellFormat(name));
    ASSERT_TRUE(m_pGrid->GetGridCellFormat(value));
    EXPECT_EQ(type.dwFlags, GRIDF_BOLD);
    EXPECT_EQ(name.dwFlags, GRIDF_TEXTCOLOR);
    EXPECT_EQ(name.crText, QColor(0, 0, 255));
    EXPECT_EQ(value.dwFlags, GRIDF_TEXTCOLOR);
    EXPECT_EQ(value.crText, QColor(255, 0, 0));
    GridCellFormat extra;
    extra.nCode = GRIDQ_ROWEXTRA;
    EXPECT_FALSE(m_pGrid->GetGridCellFormat(extra));

    EXPECT_EQ(m_pGrid->GetColumnCaption(0), "Type");
    EXPECT_EQ(m_pGrid->GetColumnCaption(1), "Name");
    EXPECT_EQ(m_pGrid->GetColumnCaption(2), "Value");
    EXPECT_EQ(m_pGrid->GetColumnWidth(0), 150);
    EXPECT_EQ(m_pGrid->GetColumnWidth(1), 120);
    EXPECT_EQ(m_pGrid->GetColumnWidth(2), 300);
    EXPECT_EQ(m_pGrid->GetRowHeight(), 17);
    EXPECT_EQ(m_pGrid->GetOptions(), 0x793FU);
}

TEST_F(GridRows, NamesStayBlueAndValuesRedOnTheSelectedRow)
{
    Fill({{dom::NODE_ATTRIBUTE, "name", "value"}, {dom::NODE_ATTRIBUTE, "", ""}});
    ClickCell(0, 0);
    m_pGrid->setFocus();
    QApplication::processEvents();
    const QImage image = m_pGrid->viewport()->grab().toImage();
    // Pixels of one strong colour: blue (2), red (0).
    const auto count = [&image](const QRect &rect, int nChannel) {
        int nCount = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x) {
                const QColor pixel = image.pixelColor(x, y);
                const int channels[] = {pixel.red(), pixel.green(), pixel.blue()};
                bool bOnly = channels[nChannel] > 180;
                for (int i = 0; i < 3; ++i)
                    bOnly = bOnly && (i == nChannel || channels[i] < 90);
                nCount += bOnly ? 1 : 0;
            }
        }
        return nCount;
    };
    EXPECT_GT(count(CellRect(0, 1), 2), 5);
    EXPECT_GT(count(CellRect(0, 2), 0), 5);
    EXPECT_EQ(count(CellRect(0, 1), 0), 0);
    // The selected row's background is lighter than the highlight, under both texts.
    const QColor back = image.pixelColor(CellRect(0, 1).left() + 2, CellRect(0, 1).center().y());
    EXPECT_NE(back, m_pGrid->palette().color(QPalette::Base));
    EXPECT_GT(back.lightness(), m_pGrid->palette().color(QPalette::Highlight).lightness());
}

TEST_F(GridRows, ARowWithoutItsRecordSaysSo)
{
    Fill({{dom::NODE_ATTRIBUTE, "a", "1"}});
    MessageRecorder recorder;
    m_pGrid->InsertRowItem(0, 0);
    EXPECT_EQ(m_pGrid->GetCellText(0, 1), "");
    EXPECT_EQ(recorder.messages().value(0), "InCorrect Node!");
    m_pGrid->DeleteAllItems();
}

TEST_F(GridRows, TheModelStaysConsistentThroughFillEditSortAndClear)
{
    QAbstractItemModelTester tester(m_pGrid->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    Fill({{dom::NODE_ATTRIBUTE, "b", "2"},
          {dom::NODE_TEXT, "#text", "t"},
          {dom::NODE_ATTRIBUTE, "", ""}});
    m_pGrid->AddRow(1, dom::NODE_COMMENT, "#comment", "c");
    m_pGrid->InsertEmptyRow(dom::NODE_PROCESSING_INSTRUCTION);
    m_pGrid->SortByColumn(2);
    CommitCell(0, 0, "CDATASection");
    m_pGrid->SetCellFromTextPane(0, 2, "z");
    m_pGrid->SortByColumn(0);
    m_pGrid->DeleteAllRows();
    EXPECT_EQ(m_pGrid->model()->rowCount(), 0);
}

TEST(GridKinds, KindNamesMatchExactly)
{
    EXPECT_EQ(CPellixGridView::KindNames(),
              QStringList({"Attribute", "Text", "Comment", "ProcessInstruction", "CDATASection"}));
    EXPECT_EQ(CPellixGridView::KindFromName("Comment"), 8);
    EXPECT_EQ(CPellixGridView::KindFromName("CDATASection"), 4);
    EXPECT_EQ(CPellixGridView::KindFromName("comment"), std::nullopt);
    EXPECT_EQ(CPellixGridView::KindFromName("Comment "), std::nullopt);
    EXPECT_EQ(CPellixGridView::KindFromName(""), std::nullopt);
}
