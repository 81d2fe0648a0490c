// Editing rows in place: the kind choice, names and values, Tab, and ending an open editor.
#include "GridComboEdit.h"
#include "PanesTestKit.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

namespace
{
QLineEdit *LineEditOf(QWidget *pEditor)
{
    if (auto *pCombo = qobject_cast<CGridComboEdit *>(pEditor))
        return pCombo->GetField();
    return qobject_cast<QLineEdit *>(pEditor);
}
} // namespace

using GridEditing = PanesTest;

TEST_F(GridEditing, TypeChoiceOffersTheKindNamesAndCommitsOnlyAKindName)
{
    Fill({{dom::NODE_ATTRIBUTE, "a", "1"}, {dom::NODE_ATTRIBUTE, "", ""}});
    auto *pCombo = qobject_cast<CGridComboEdit *>(OpenEditor(0, 0));
    ASSERT_NE(pCombo, nullptr);
    EXPECT_TRUE(pCombo->IsEditable());
    EXPECT_EQ(pCombo->GetChoices(),
              QStringList({"Attribute", "Text", "Comment", "ProcessInstruction", "CDATASection"}));
    EXPECT_EQ(pCombo->GetEditText(), "Attribute");

    // A word that is no kind name is refused: the row keeps its kind.
    pCombo->GetField()->selectAll();
    Type("zz");
    EXPECT_EQ(pCombo->GetEditText(), "zz");
    Press(Qt::Key_Return);
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(RowAt(*m_pGrid, 0).nKind, 2);
    EXPECT_EQ(CellText(0, 0), "Attribute");
    EXPECT_FALSE(m_pGrid->AreRowsEdited());
    EXPECT_FALSE(IsModified());

    // Typed in lower case, the name completes to the kind's own spelling.
    pCombo = qobject_cast<CGridComboEdit *>(OpenEditor(0, 0));
    ASSERT_NE(pCombo, nullptr);
    pCombo->GetField()->selectAll();
    Type("processinstruction");
    EXPECT_EQ(pCombo->GetEditText(), "ProcessInstruction");
    Press(Qt::Key_Return);
    EXPECT_EQ(RowAt(*m_pGrid, 0).nKind, 7);
    EXPECT_EQ(CellText(0, 0), "ProcessInstruction");
    EXPECT_TRUE(m_pGrid->AreRowsEdited());
    EXPECT_TRUE(IsModified());
}

TEST_F(GridEditing, TypingIntoATypeCellCompletesTheNameAndTabMovesToTheName)
{
    Fill({{dom::NODE_ATTRIBUTE, "a", "1"}, {dom::NODE_ATTRIBUTE, "", ""}});
    MoveCursorTo(1, 0);
    Type("Com");
    auto *pCombo = qobject_cast<CGridComboEdit *>(Editor());
    ASSERT_NE(pCombo, nullptr);
    EXPECT_EQ(pCombo->GetEditText(), "Comment");
    Press(Qt::Key_Tab);
    EXPECT_EQ(RowAt(*m_pGrid, 1).nKind, 8);
    EXPECT_EQ(CursorCell(), std::make_pair(1, 1));
    QLineEdit *pEdit = LineEditOf(Editor());
    ASSERT_NE(pEdit, nullptr);
    EXPECT_TRUE(pEdit->isReadOnly());
    Press(Qt::Key_Escape);

    // Enter commits also when the field holds the focus itself.
    pCombo = qobject_cast<CGridComboEdit *>(OpenEditor(0, 0));
    ASSERT_NE(pCombo, nullptr);
    pCombo->GetField()->setFocus();
    pCombo->GetField()->selectAll();
    Type("CDATASection");
    Press(Qt::Key_Return);
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(RowAt(*m_pGrid, 0).nKind, 4);
}

TEST_F(GridEditing, AChoiceFromTheDropListIsCommittedWhenTheCellIsLeft)
{
    Fill({{dom::NODE_ATTRIBUTE, "a", "1"}});
    auto *pCombo = qobject_cast<CGridComboEdit *>(OpenEditor(0, 0));
    ASSERT_NE(pCombo, nullptr);
    QTest::mouseClick(pCombo, Qt::LeftButton, Qt::NoModifier, pCombo->ButtonRect().center());
    CGridComboDropList *pList = pCombo->GetDropList();
    ASSERT_NE(pList, nullptr);
    const QList<QListWidgetItem *> items = pList->findItems("Comment", Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    QTest::mouseClick(pList->viewport(), Qt::LeftButton, Qt::NoModifier,
                      pList->visualItemRect(items.front()).center());
    QApplication::processEvents();
    EXPECT_FALSE(pCombo->IsDropped());
    EXPECT_EQ(pCombo->GetEditText(), "Comment");
    EXPECT_EQ(RowAt(*m_pGrid, 0).nKind, 2) << "a choice alone commits nothing";
    Press(Qt::Key_Return);
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(RowAt(*m_pGrid, 0).nKind, 8);
}

TEST_F(GridEditing, NamesOfTextCdataAndCommentRowsAreReadOnly)
{
    Fill({{dom::NODE_TEXT, "#text", "t"},
          {dom::NODE_CDATA_SECTION, "#cdata-section", "c"},
          {dom::NODE_COMMENT, "#comment", "m"},
          {dom::NODE_PROCESSING_INSTRUCTION, "pi", "d"}});
    for (int nRow = 0; nRow < 3; ++nRow) {
        QLineEdit *pEdit = LineEditOf(OpenEditor(nRow, 1));
        ASSERT_NE(pEdit, nullptr) << "row " << nRow;
        EXPECT_TRUE(pEdit->isReadOnly());
        Type("x");
        Press(Qt::Key_Return);
    }
    EXPECT_EQ(RowAt(*m_pGrid, 0).strName, "#text");
    EXPECT_EQ(RowAt(*m_pGrid, 1).strName, "#cdata-section");
    EXPECT_EQ(RowAt(*m_pGrid, 2).strName, "#comment");
    EXPECT_FALSE(m_pGrid->AreRowsEdited());

    // A processing instruction's target is its name and may be changed.
    QLineEdit *pEdit = LineEditOf(OpenEditor(3, 1));
    ASSERT_NE(pEdit, nullptr);
    EXPECT_FALSE(pEdit->isReadOnly());
    pEdit->selectAll();
    Type("target");
    Press(Qt::Key_Return);
    EXPECT_EQ(RowAt(*m_pGrid, 3).strName, "target");
    EXPECT_TRUE(m_pGrid->AreRowsEdited());
}

TEST_F(GridEditing, EditingStartsByClickInCurrentRowByEnterAndByTyping)
{
    Fill({{dom::NODE_ATTRIBUTE, "a", "1"}, {dom::NODE_ATTRIBUTE, "b", "2"}});
    ClickCell(0, 2);
    EXPECT_EQ(Editor(), nullptr) << "a click that only moves the cursor opens no editor";
    ClickCell(0, 1);
    ASSERT_NE(Editor(), nullptr) << "a click in the current row opens the editor";
    Press(Qt::Key_Escape);
    EXPECT_EQ(Editor(), nullptr);

    ClickCell(1, 2);
    Press(Qt::Key_Return);
    ASSERT_NE(Editor(), nullptr);
    Press(Qt::Key_Escape);

    Press(Qt::Key_F2);
    ASSERT_NE(Editor(), nullptr);
    Press(Qt::Key_Escape);

    // Typing replaces the cell's text.
    Type("42");
    ASSERT_NE(Editor(), nullptr);
    Press(Qt::Key_Return);
    EXPECT_EQ(RowAt(*m_pGrid, 1), (RowValue{2, "b", "42"}));
    EXPECT_TRUE(IsModified());
}

TEST_F(GridEditing, CommitWithoutChangeIsNotAnEdit)
{
    Fill({{dom::NODE_ATTRIBUTE, "a", "1"}});
    ASSERT_NE(OpenEditor(0, 2), nullptr);
    Press(Qt::Key_Return);
    EXPECT_EQ(RowAt(*m_pGrid, 0), (RowValue{2, "a", "1"}));
    EXPECT_FALSE(m_pGrid->AreRowsEdited());
    EXPECT_FALSE(IsModified());
}

TEST_F(GridEditing, TabFromTheLastCellAppendsAnAttributeRowAndEditsItsType)
{
    Fill({{dom::NODE_TEXT, "#text", "t"}, {dom::NODE_ATTRIBUTE, "", ""}});
    // Tab within the rows only moves.
    ASSERT_NE(OpenEditor(0, 2), nullptr);
    Press(Qt::Key_Tab);
    EXPECT_EQ(m_pGrid->GetRowCount(), 2);
    EXPECT_EQ(CursorCell(), std::make_pair(1, 0));
    Press(Qt::Key_Escape);

    QLineEdit *pEdit = LineEditOf(OpenEditor(1, 2));
    ASSERT_NE(pEdit, nullptr);
    Type("v");
    Press(Qt::Key_Tab);
    ASSERT_EQ(m_pGrid->GetRowCount(), 3);
    EXPECT_EQ(RowAt(*m_pGrid, 1), (RowValue{2, "", "v"}));
    EXPECT_EQ(RowAt(*m_pGrid, 2), (RowValue{2, "", ""}));
    EXPECT_EQ(CursorCell(), std::make_pair(2, 0));
    EXPECT_NE(qobject_cast<CGridComboEdit *>(Editor()), nullptr);
    EXPECT_TRUE(m_pGrid->AreRowsEdited());
    Press(Qt::Key_Escape);

    // Without an open editor Tab appends too.
    MoveCursorTo(2, 2);
    ASSERT_EQ(Editor(), nullptr);
    Press(Qt::Key_Tab);
    EXPECT_EQ(m_pGrid->GetRowCount(), 4);
    EXPECT_EQ(CursorCell(), std::make_pair(3, 0));
}

TEST_F(GridEditing, EndCellEditCommitsTheOpenEditor)
{
    Fill({{dom::NODE_ATTRIBUTE, "a", "1"}});
    m_pGrid->EndCellEdit();
    EXPECT_FALSE(m_pGrid->AreRowsEdited());

    QLineEdit *pEdit = LineEditOf(OpenEditor(0, 1));
    ASSERT_NE(pEdit, nullptr);
    pEdit->selectAll();
    Type("renamed");
    EXPECT_EQ(RowAt(*m_pGrid, 0).strName, "a");
    m_pGrid->EndCellEdit();
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(RowAt(*m_pGrid, 0).strName, "renamed");
    EXPECT_TRUE(m_pGrid->AreRowsEdited());
    EXPECT_TRUE(IsModified());
}

TEST_F(GridEditing, SortingCommitsTheOpenEditorFirst)
{
    Fill({{dom::NODE_ATTRIBUTE, "b", "1"}, {dom::NODE_ATTRIBUTE, "c", "2"}});
    QLineEdit *pEdit = LineEditOf(OpenEditor(1, 1));
    ASSERT_NE(pEdit, nullptr);
    pEdit->selectAll();
    Type("a");
    QHeaderView *pHeader = m_pGrid->horizontalHeader();
    QTest::mouseClick(pHeader->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(pHeader->sectionViewportPosition(1) + 10, pHeader->height() / 2));
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(RowAt(*m_pGrid, 1).strName, "a");
    // The first click on a column sorts it descending, with the typed name in it.
    EXPECT_EQ(m_pGrid->GetCellText(0, 1), "b");
    EXPECT_EQ(m_pGrid->GetCellText(1, 1), "a");
}

TEST_F(GridEditing, EditorCommitIntoTheHitCellRefreshesTheTextPane)
{
    Fill({{dom::NODE_ATTRIBUTE, "a", "1"}});
    QLineEdit *pEdit = LineEditOf(OpenEditor(0, 2));
    ASSERT_NE(pEdit, nullptr);
    EXPECT_EQ(m_pText->toPlainText(), "1");
    pEdit->selectAll();
    Type("fresh");
    Press(Qt::Key_Return);
    EXPECT_EQ(m_pText->toPlainText(), "fresh");

    // A kind whose name is fixed takes the name away from the text pane.
    ClickCell(0, 1);
    EXPECT_EQ(m_pText->GetTargetCol(), 1);
    CommitCell(0, 0, "Text");
    EXPECT_EQ(m_pText->GetTargetRow(), -1);
}
