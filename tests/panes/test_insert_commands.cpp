// The five Insert commands, on the grid pane and through the document.
#include "PanesTestKit.h"

#include "CmdUI.h"
#include "Resource.h"

namespace
{
struct InsertCommand {
    int nID;
    int nKind;
    const char *pszKindName;
};
constexpr InsertCommand kInserts[] = {{ID_INSERT_ATTRIBUTE, 2, "Attribute"},
                                      {ID_INSERT_TEXT, 3, "Text"},
                                      {ID_INSERT_COMMENT, 8, "Comment"},
                                      {ID_INSERT_PROCESSINSTRUCTION, 7, "ProcessInstruction"},
                                      {ID_INSERT_CDATASECTION, 4, "CDATASection"}};

bool IsEnabled(CCmdTarget &target, int nID)
{
    CCmdUI cmdUI(nID);
    RouteUpdateState({&target}, cmdUI);
    return cmdUI.IsEnabled();
}
} // namespace

using InsertCommands = PanesTest;

TEST_F(InsertCommands, AreDisabledAndDoNothingWhileNoNodeIsShown)
{
    for (const InsertCommand &insert : kInserts) {
        EXPECT_FALSE(IsEnabled(*m_pGrid, insert.nID)) << insert.pszKindName;
        EXPECT_TRUE(m_pGrid->OnCmdMsg(insert.nID, nullptr));
    }
    EXPECT_EQ(m_pGrid->GetRowCount(), 0);
    EXPECT_FALSE(IsModified());

    Fill({{dom::NODE_ATTRIBUTE, "", ""}});
    for (const InsertCommand &insert : kInserts)
        EXPECT_TRUE(IsEnabled(*m_pGrid, insert.nID)) << insert.pszKindName;
    m_pGrid->DeleteAllRows();
    EXPECT_FALSE(IsEnabled(*m_pGrid, ID_INSERT_TEXT));
}

TEST_F(InsertCommands, EachAppendsAnEmptyRowOfItsKind)
{
    Fill({{dom::NODE_ATTRIBUTE, "a", "1"}, {dom::NODE_ATTRIBUTE, "", ""}});
    int nRows = 2;
    for (const InsertCommand &insert : kInserts) {
        EXPECT_TRUE(m_pGrid->OnCmdMsg(insert.nID, nullptr));
        ASSERT_EQ(m_pGrid->GetRowCount(), ++nRows);
        EXPECT_EQ(RowAt(*m_pGrid, nRows - 1), (RowValue{insert.nKind, "", ""}));
        EXPECT_EQ(CellText(nRows - 1, 0), insert.pszKindName);
    }
    EXPECT_EQ(RowAt(*m_pGrid, 0), (RowValue{2, "a", "1"}));
    EXPECT_TRUE(m_pGrid->AreRowsEdited());
    EXPECT_TRUE(IsModified());
}

TEST_F(InsertCommands, ReachTheGridThroughTheDocumentFromAnyPane)
{
    ASSERT_EQ(m_pDoc->GetActiveEditContext(), m_pGrid->GetEditContext());
    EXPECT_FALSE(IsEnabled(*m_pDoc, ID_INSERT_COMMENT));
    Fill({{dom::NODE_ATTRIBUTE, "", ""}});
    EXPECT_TRUE(IsEnabled(*m_pDoc, ID_INSERT_COMMENT));
    EXPECT_TRUE(m_pDoc->OnCmdMsg(ID_INSERT_COMMENT, nullptr));
    ASSERT_EQ(m_pGrid->GetRowCount(), 2);
    EXPECT_EQ(RowAt(*m_pGrid, 1), (RowValue{8, "", ""}));
    EXPECT_TRUE(IsModified());
}
