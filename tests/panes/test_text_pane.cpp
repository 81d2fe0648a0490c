// The text pane: what it shows, and which row its changes reach.
#include "PanesTestKit.h"

#include "CmdUI.h"
#include "Resource.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QTest>

using TextPane = PanesTest;

TEST_F(TextPane, GetTextDropsLeadingBlanksButThePaneKeepsThem)
{
    m_pText->SetText(" \t\n abc  ");
    EXPECT_EQ(m_pText->toPlainText(), " \t\n abc  ");
    EXPECT_EQ(m_pText->GetText(), "abc  ");
    EXPECT_EQ(m_pText->toPlainText(), " \t\n abc  ");
    EXPECT_EQ(m_pText->IsLocked(), 0);
    m_pText->SetText("   ");
    EXPECT_EQ(m_pText->GetText(), "");
    // Only those blanks: a no-break or ideographic space is content and stays.
    m_pText->SetText(QStringLiteral("\v\f\r\u00A0x"));
    EXPECT_EQ(m_pText->GetText(), QStringLiteral("\u00A0x"));
    m_pText->SetText(QStringLiteral("\u3000y"));
    EXPECT_EQ(m_pText->GetText(), QStringLiteral("\u3000y"));
}

TEST_F(TextPane, EveryChangeOfTheShownValueReachesItsCellAtOnce)
{
    Fill({{dom::NODE_ATTRIBUTE, "a", "value"}, {dom::NODE_ATTRIBUTE, "", ""}});
    ClickCell(0, 2);
    EXPECT_EQ(m_pText->toPlainText(), "value");
    EXPECT_EQ(m_pText->GetTargetRow(), 0);
    EXPECT_EQ(m_pText->GetTargetCol(), 2);
    EXPECT_FALSE(IsModified());

    FocusTextPane();
    Type("s");
    EXPECT_EQ(RowAt(*m_pGrid, 0).strValue, "values");
    EXPECT_EQ(CellText(0, 2), "values");
    EXPECT_TRUE(m_pGrid->AreRowsEdited());
    EXPECT_TRUE(IsModified());

    Press(Qt::Key_Backspace);
    EXPECT_EQ(RowAt(*m_pGrid, 0).strValue, "value");
    Press(Qt::Key_Home);
    Press(Qt::Key_Delete);
    EXPECT_EQ(RowAt(*m_pGrid, 0).strValue, "alue");
    Press(Qt::Key_End);
    Press(Qt::Key_Return);
    Type("x");
    EXPECT_EQ(RowAt(*m_pGrid, 0).strValue, "alue\nx");

    // Leading blanks stay in the pane only.
    Press(Qt::Key_Home);
    m_pText->moveCursor(QTextCursor::Start);
    Type("  ");
    EXPECT_EQ(RowAt(*m_pGrid, 0).strValue, "alue\nx");
    EXPECT_TRUE(m_pText->toPlainText().startsWith("  alue"));
    EXPECT_EQ(RowAt(*m_pGrid, 1), (RowValue{2, "", ""}));
}

TEST_F(TextPane, NameCellsOfAttributesAndProcessingInstructionsAreTargets)
{
    Fill({{dom::NODE_ATTRIBUTE, "attr", "1"},
          {dom::NODE_PROCESSING_INSTRUCTION, "pi", "d"},
          {dom::NODE_TEXT, "#text", "t"}});
    ClickCell(0, 1);
    EXPECT_EQ(m_pText->toPlainText(), "attr");
    FocusTextPane();
    Type("x");
    EXPECT_EQ(RowAt(*m_pGrid, 0), (RowValue{2, "attrx", "1"}));

    ClickCell(1, 1);
    EXPECT_EQ(m_pText->toPlainText(), "pi");
    FocusTextPane();
    Type("2");
    EXPECT_EQ(RowAt(*m_pGrid, 1), (RowValue{7, "pi2", "d"}));
}

TEST_F(TextPane, FixedNamesAndTypeCellsReachNoRow)
{
    Fill({{dom::NODE_TEXT, "#text", "t"}, {dom::NODE_ATTRIBUTE, "a", "1"}});
    ClickCell(1, 2);
    ClickCell(0, 1);
    EXPECT_EQ(m_pText->toPlainText(), "");
    EXPECT_EQ(m_pText->GetTargetRow(), -1);
    EXPECT_EQ(m_pGrid->m_nHitRow, 0);
    EXPECT_EQ(m_pGrid->m_nHitCol, 1);
    FocusTextPane();
    Type("zz");

    ClickCell(1, 0);
    EXPECT_EQ(m_pGrid->m_nHitCol, 0);
    EXPECT_EQ(m_pText->GetTargetRow(), -1);
    FocusTextPane();
    Type("yy");

    EXPECT_EQ(RowAt(*m_pGrid, 0), (RowValue{3, "#text", "t"}));
    EXPECT_EQ(RowAt(*m_pGrid, 1), (RowValue{2, "a", "1"}));
    EXPECT_FALSE(m_pGrid->AreRowsEdited());
    EXPECT_FALSE(IsModified());
}

TEST_F(TextPane, AClickOnAnotherCellRetargetsThePane)
{
    Fill({{dom::NODE_ATTRIBUTE, "a", "1"}, {dom::NODE_ATTRIBUTE, "b", "2"}});
    ClickCell(0, 2);
    ClickCell(1, 2);
    EXPECT_EQ(m_pText->toPlainText(), "2");
    FocusTextPane();
    Type("0");
    EXPECT_EQ(RowAt(*m_pGrid, 0).strValue, "1");
    EXPECT_EQ(RowAt(*m_pGrid, 1).strValue, "20");

    // Moving the cell cursor with the keys is a hit too.
    m_pGrid->setFocus();
    Press(Qt::Key_Up);
    EXPECT_EQ(m_pGrid->m_nHitRow, 0);
    EXPECT_EQ(m_pText->toPlainText(), "1");
}

TEST_F(TextPane, PasteCutAndUndoWriteThroughTheirCommands)
{
    Fill({{dom::NODE_ATTRIBUTE, "a", "old"}});
    ClickCell(0, 2);
    QApplication::clipboard()->setText("pasted");
    m_pText->selectAll();
    EXPECT_TRUE(m_pText->OnCmdMsg(ID_EDIT_PASTE, nullptr));
    EXPECT_EQ(RowAt(*m_pGrid, 0).strValue, "pasted");

    m_pText->selectAll();
    EXPECT_TRUE(m_pText->OnCmdMsg(ID_EDIT_CUT, nullptr));
    EXPECT_EQ(RowAt(*m_pGrid, 0).strValue, "");
    EXPECT_EQ(QApplication::clipboard()->text(), "pasted");

    EXPECT_TRUE(m_pText->OnCmdMsg(ID_EDIT_UNDO, nullptr));
    EXPECT_EQ(RowAt(*m_pGrid, 0).strValue, "pasted");
}

TEST_F(TextPane, EditCommandsAreEnabledWhenTheyCanAct)
{
    const auto isEnabled = [this](int nID) {
        CCmdUI cmdUI(nID);
        RouteUpdateState({m_pText}, cmdUI);
        return cmdUI.IsEnabled();
    };
    m_pText->SetText("abc");
    EXPECT_FALSE(isEnabled(ID_EDIT_CUT));
    EXPECT_FALSE(isEnabled(ID_EDIT_COPY));
    EXPECT_FALSE(isEnabled(ID_EDIT_UNDO));
    m_pText->selectAll();
    EXPECT_TRUE(isEnabled(ID_EDIT_CUT));
    EXPECT_TRUE(isEnabled(ID_EDIT_COPY));
    EXPECT_TRUE(m_pText->OnCmdMsg(ID_EDIT_COPY, nullptr));
    EXPECT_EQ(QApplication::clipboard()->text(), "abc");
    EXPECT_TRUE(isEnabled(ID_EDIT_PASTE));
    FocusTextPane();
    Type("d");
    EXPECT_TRUE(isEnabled(ID_EDIT_UNDO));
}

TEST_F(TextPane, LockingEmptiesThePaneAndStopsEveryWrite)
{
    Fill({{dom::NODE_ATTRIBUTE, "a", "1"}});
    ClickCell(0, 2);
    m_pText->SetLocked(1);
    EXPECT_EQ(m_pText->toPlainText(), "");
    EXPECT_EQ(m_pText->IsLocked(), 1);
    EXPECT_EQ(m_pText->GetTargetRow(), -1);

    FocusTextPane();
    Type("typed");
    QApplication::clipboard()->setText("pasted");
    EXPECT_TRUE(m_pText->OnCmdMsg(ID_EDIT_PASTE, nullptr));
    m_pText->selectAll();
    EXPECT_TRUE(m_pText->OnCmdMsg(ID_EDIT_CUT, nullptr));

    // Unlocking alone gives the pane no cell to write into.
    m_pText->SetLocked(0);
    Type("more");
    EXPECT_EQ(RowAt(*m_pGrid, 0), (RowValue{2, "a", "1"}));
    EXPECT_FALSE(IsModified());
}

TEST_F(TextPane, ARefillLeavesTheOldTargetBehind)
{
    Fill({{dom::NODE_ATTRIBUTE, "a", "1"}});
    ClickCell(0, 2);
    Fill({{dom::NODE_ATTRIBUTE, "b", "2"}});
    m_pText->SetLocked(0);
    FocusTextPane();
    Type("x");
    EXPECT_EQ(RowAt(*m_pGrid, 0), (RowValue{2, "b", "2"}));
    EXPECT_FALSE(m_pGrid->AreRowsEdited());
}

// A value with a very long word (an encoded image) is shown wrapped anywhere: wrapping it at word
// boundaries took seconds for a few hundred thousand characters. Ordinary text still wraps at
// words, and the text is shown whole either way.
TEST_F(TextPane, AVeryLongWordIsShownWithoutFreezingTheWindow)
{
    const QTextOption::WrapMode words = m_pText->wordWrapMode();
    ASSERT_NE(words, QTextOption::WrapAnywhere);
    const QString blob = QStringLiteral("data:") + QString(400000, QLatin1Char('Q'));
    QElapsedTimer timer;
    timer.start();
    m_pText->SetText(blob, 0, 2);
    QApplication::processEvents();
    EXPECT_EQ(m_pText->toPlainText(), blob);
    EXPECT_EQ(m_pText->wordWrapMode(), QTextOption::WrapAnywhere);

    m_pText->SetText(QStringLiteral("two words ") + QString(2000, QLatin1Char('w')), 0, 2);
    QApplication::processEvents();
    EXPECT_EQ(m_pText->wordWrapMode(), words);
    // Both took seconds before (16 s and 10 s here); about 0.3 s now.
    EXPECT_LT(timer.elapsed(), 8000);
}
