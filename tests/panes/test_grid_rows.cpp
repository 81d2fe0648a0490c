// The rows the tree pane fills and reads back: positions, order, fill state, display.
#include "PanesTestKit.h"

#include "GridRowModel.h"

#include <QAbstractItemModelTester>
#include <QColor>
#include <QFont>
#include <QHeaderView>
#include <QSortFilterProxyModel>
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
    for (int nRow = 0; nRow < pGrid->model()->rowCount(); ++nRow)
        names << pGrid->model()->index(nRow, 1).data().toString();
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
          {dom::NODE_ATTRIBUTE, "c", "3"}});
    ClickHeader(m_pGrid, 1);
    EXPECT_EQ(ShownNames(m_pGrid), QStringList({"a", "b", "c"}));
    EXPECT_EQ(RowAt(*m_pGrid, 0).strName, "b");
    EXPECT_EQ(RowAt(*m_pGrid, 1).strName, "a");

    // A hit on the first shown row names the row in fill order.
    ClickCell(1, 2);
    EXPECT_EQ(m_pGrid->m_nHitRow, 1);
    EXPECT_EQ(m_pText->toPlainText(), "1");

    ClickHeader(m_pGrid, 1);
    EXPECT_EQ(ShownNames(m_pGrid), QStringList({"c", "b", "a"}));
    ClickHeader(m_pGrid, 1);
    EXPECT_EQ(ShownNames(m_pGrid), QStringList({"b", "a", "c"}));
    EXPECT_FALSE(m_pGrid->AreRowsEdited());
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

TEST_F(GridRows, CellsShowKindNamesNamesAndValuesInTheirColours)
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

    EXPECT_TRUE(ViewIndex(0, 0).data(Qt::FontRole).value<QFont>().bold());
    EXPECT_EQ(ViewIndex(0, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 255));
    EXPECT_EQ(ViewIndex(0, 2).data(Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));

    const QHeaderView *pHeader = m_pGrid->horizontalHeader();
    const QAbstractItemModel *pModel = m_pGrid->model();
    EXPECT_EQ(pModel->headerData(0, Qt::Horizontal).toString(), "Type");
    EXPECT_EQ(pModel->headerData(1, Qt::Horizontal).toString(), "Name");
    EXPECT_EQ(pModel->headerData(2, Qt::Horizontal).toString(), "Value");
    EXPECT_EQ(pHeader->sectionSize(0), 150);
    EXPECT_EQ(pHeader->sectionSize(1), 120);
    EXPECT_EQ(pHeader->sectionSize(2), 300);
}

TEST_F(GridRows, ModelsStayConsistentThroughFillEditSortAndClear)
{
    auto *pSorted = static_cast<QSortFilterProxyModel *>(m_pGrid->model());
    QAbstractItemModelTester rowTester(pSorted->sourceModel(),
                                       QAbstractItemModelTester::FailureReportingMode::Fatal);
    QAbstractItemModelTester viewTester(pSorted,
                                        QAbstractItemModelTester::FailureReportingMode::Fatal);
    Fill({{dom::NODE_ATTRIBUTE, "b", "2"},
          {dom::NODE_TEXT, "#text", "t"},
          {dom::NODE_ATTRIBUTE, "", ""}});
    m_pGrid->AddRow(1, dom::NODE_COMMENT, "#comment", "c");
    m_pGrid->InsertEmptyRow(dom::NODE_PROCESSING_INSTRUCTION);
    pSorted->sort(2, Qt::DescendingOrder);
    EXPECT_TRUE(pSorted->setData(pSorted->index(0, 0), "CDATASection"));
    m_pGrid->SetCellFromTextPane(0, 2, "z");
    pSorted->sort(-1);
    m_pGrid->DeleteAllRows();
    EXPECT_EQ(pSorted->rowCount(), 0);
}

TEST(GridRowModel, KindNamesMatchExactly)
{
    EXPECT_EQ(CGridRowModel::KindNames(),
              QStringList({"Attribute", "Text", "Comment", "ProcessInstruction", "CDATASection"}));
    EXPECT_EQ(CGridRowModel::KindFromName("Comment"), 8);
    EXPECT_EQ(CGridRowModel::KindFromName("CDATASection"), 4);
    EXPECT_EQ(CGridRowModel::KindFromName("comment"), std::nullopt);
    EXPECT_EQ(CGridRowModel::KindFromName("Comment "), std::nullopt);
    EXPECT_EQ(CGridRowModel::KindFromName(""), std::nullopt);
}
