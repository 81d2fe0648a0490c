// Edits survive every way out: two windows on one document, and commands run while a cell
// editor is still open. Driven through the real windows, with clicks and keys.

#include "GuiTestKit.h"

#include "ChildFrame.h"
#include "EditContext.h"
#include "PellixDoc.h"
#include "PellixGridView.h"
#include "PellixTreeView.h"
#include "PellixView.h"
#include "Resource.h"
#include "TreePath.h"

#include <QApplication>
#include <QTest>

namespace
{

const std::string kFile = "<root a=\"1\"><child b=\"2\"/></root>";

// Selects the tree item reached by `strPath` ("" the document, "root/child") in `pFrame`.
CTreeItemRef Select(CChildFrame *pFrame, const QString &strPath)
{
    const CTreeItemRef item = ItemAtPath(pFrame->GetTreePane(), strPath);
    pFrame->GetTreePane()->SelectItem(item);
    return item;
}

class TwoWindows : public PellixTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartApp());
        m_path = WriteFile("doc.xml", kFile);
        m_pDoc = OpenDoc(m_path);
        ASSERT_NE(m_pDoc, nullptr);
        m_pFirst = FrameOf(m_pDoc);
        ASSERT_NE(m_pFirst, nullptr);
        m_messages.clear();
    }
    CChildFrame *NewWindow()
    {
        EXPECT_TRUE(Execute(ID_WINDOW_NEW));
        return FrameOf(m_pDoc, 1);
    }
    std::string Saved() const { return ReadBytes(m_path.toStdString()); }

    QString m_path;
    CPellixDoc *m_pDoc = nullptr;
    CChildFrame *m_pFirst = nullptr;
};

} // namespace

TEST_F(TwoWindows, ANewWindowShowsTheDocumentAndSaveKeepsTheOtherWindowsEdit)
{
    Select(m_pFirst, "root");
    TypeIntoCell(m_pFirst, 0, 2, "edited");
    CChildFrame *pSecond = NewWindow();
    ASSERT_NE(pSecond, nullptr);
    // The second window has its own tree of the same document.
    const CTreeItemRef root = Select(pSecond, "root");
    ASSERT_FALSE(root.IsNull());
    EXPECT_EQ(root.GetChildCount(), 1);
    EXPECT_EQ(pSecond->GetGridPane()->GetRowCount(), 2);

    EXPECT_TRUE(Execute(ID_FILE_SAVE));
    EXPECT_EQ(Saved(), "<root a=\"edited\">\t<child b=\"2\"></child>\r\n</root>\r\n\r\n");
    EXPECT_FALSE(m_pDoc->IsModified());
    EXPECT_TRUE(m_messages.messages().isEmpty());
}

TEST_F(TwoWindows, ClosingTheEditedWindowThenTheOtherAsksAndSavesTheEdit)
{
    CChildFrame *pSecond = NewWindow();
    ASSERT_NE(pSecond, nullptr);
    Main().MDIActivate(m_pFirst);
    Select(m_pFirst, "root/child");
    TypeIntoCell(m_pFirst, 0, 2, "new");
    CPellixGridView *pGrid = m_pFirst->GetGridPane();
    QTest::keyClick(pGrid->GetCellEditor(), Qt::Key_Return);
    QApplication::processEvents();

    // Not the last window: it closes without a prompt, and its edit stays in the document.
    m_pFirst->close();
    FlushDeletes();
    EXPECT_TRUE(m_script.prompts.isEmpty());
    EXPECT_TRUE(m_pDoc->IsModified());

    m_script.answers.push_back(MessageBoxResult::Yes);
    pSecond->close();
    FlushDeletes();
    EXPECT_EQ(m_script.prompts, QStringList{"Save changes to doc.xml?"});
    EXPECT_EQ(Saved(), "<root a=\"1\">\t<child b=\"new\"></child>\r\n</root>\r\n\r\n");
}

TEST_F(TwoWindows, CloseWithAnOpenCellEditorAsksAndSavesTheTypedText)
{
    Select(m_pFirst, "root");
    TypeIntoCell(m_pFirst, 0, 2, "typed");
    ASSERT_TRUE(m_pFirst->GetGridPane()->IsEditingCell());
    EXPECT_FALSE(m_pDoc->IsModified());

    m_script.answers.push_back(MessageBoxResult::Yes);
    EXPECT_TRUE(Execute(ID_FILE_CLOSE));
    FlushDeletes();
    EXPECT_EQ(m_script.prompts, QStringList{"Save changes to doc.xml?"});
    EXPECT_EQ(Saved(), "<root a=\"typed\">\t<child b=\"2\"></child>\r\n</root>\r\n\r\n");
    EXPECT_TRUE(Documents().empty());
}

TEST_F(TwoWindows, ExitWithAnOpenCellEditorAsksFirst)
{
    Select(m_pFirst, "root");
    TypeIntoCell(m_pFirst, 0, 2, "typed");
    m_script.answers.push_back(MessageBoxResult::Cancel);
    Main().close();
    EXPECT_EQ(m_script.prompts, QStringList{"Save changes to doc.xml?"});
    // Cancel keeps the program, the window and the edit.
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_TRUE(m_pDoc->IsModified());
    EXPECT_EQ(Saved(), kFile);
}

TEST_F(TwoWindows, TreeChangesInOneWindowReachTheOther)
{
    CChildFrame *pSecond = NewWindow();
    ASSERT_NE(pSecond, nullptr);
    // The second window shows the child's rows with an edit not yet committed.
    Select(pSecond, "root/child");
    pSecond->GetEditContext()->SetValue(0, "kept");

    // Renamed in the first window: the second shows the new name, and its rows follow.
    Main().MDIActivate(m_pFirst);
    const CTreeItemRef child = Select(m_pFirst, "root/child");
    ASSERT_TRUE(m_pFirst->GetTreePane()->RenameItem(child, "renamed"));
    EXPECT_EQ(pSecond->GetTreePane()->GetRootItem().GetFirstChild().GetFirstChild().GetLabel(),
              "renamed");
    // An element inserted before it shows in both trees, in the same place.
    Select(m_pFirst, "root/renamed");
    EXPECT_TRUE(m_pFirst->GetTreePane()->InsertElement());
    const CTreeItemRef secondRoot = pSecond->GetTreePane()->GetRootItem().GetFirstChild();
    ASSERT_EQ(secondRoot.GetChildCount(), 2);
    EXPECT_EQ(secondRoot.GetFirstChild().GetLabel(), "newElement");

    EXPECT_TRUE(Execute(ID_FILE_SAVE));
    EXPECT_EQ(Saved(), "<root a=\"1\">\t<newElement></newElement>\r\n"
                       "\t<renamed b=\"kept\"></renamed>\r\n</root>\r\n\r\n");

    // Deleted in the first window: gone from the second, whose rows of it are dropped.
    const dom::Node removed = Select(m_pFirst, "root/renamed").GetNode();
    pSecond->GetEditContext()->SetValue(0, "lost with the element");
    EXPECT_TRUE(m_pFirst->GetTreePane()->RemoveItem(m_pFirst->GetTreePane()->GetCurrentItem()));
    EXPECT_EQ(secondRoot.GetChildCount(), 1);
    EXPECT_FALSE(pSecond->GetEditContext()->GetNode() == removed);
    EXPECT_FALSE(pSecond->GetEditContext()->AreRowsEdited());
    EXPECT_TRUE(Execute(ID_FILE_SAVE));
    EXPECT_EQ(Saved(), "<root a=\"1\">\t<newElement></newElement>\r\n</root>\r\n\r\n");
}

TEST_F(TwoWindows, AnOpenEditorShowsInTheTextPaneAndIsCommittedByNewWindowAndBySelection)
{
    Select(m_pFirst, "root");
    TypeIntoCell(m_pFirst, 0, 2, "typed");
    // The text pane shows what the editor holds while it is open.
    EXPECT_EQ(m_pFirst->GetTextPane()->toPlainText(), "typed");

    // New Window reads the rows: the second window shows the typed value.
    CChildFrame *pSecond = NewWindow();
    ASSERT_NE(pSecond, nullptr);
    EXPECT_FALSE(m_pFirst->GetGridPane()->IsEditingCell());
    Select(pSecond, "root");
    CPellixGridView *pSecondGrid = pSecond->GetGridPane();
    EXPECT_EQ(pSecondGrid->GetCellText(pSecondGrid->ItemOfRow(0), pSecondGrid->FindColumn(2)),
              "typed");
    EXPECT_TRUE(m_pDoc->IsModified());

    // Selecting another element ends the open editor into the element it belonged to.
    Main().MDIActivate(m_pFirst);
    Select(m_pFirst, "root/child");
    TypeIntoCell(m_pFirst, 0, 2, "child value");
    Select(m_pFirst, "root");
    EXPECT_FALSE(m_pFirst->GetGridPane()->IsEditingCell());
    EXPECT_TRUE(Execute(ID_FILE_SAVE));
    EXPECT_EQ(Saved(), "<root a=\"typed\">\t<child b=\"child value\"></child>\r\n</root>\r\n\r\n");
}

// Another window writing the node shown refills this window's rows: the text pane stays on the
// cell it shows (found by its attribute's name when the row moved) and still writes into it.
TEST_F(TwoWindows, TheTextPaneFollowsItsCellWhenAnotherWindowWritesTheNode)
{
    Select(m_pFirst, "root");
    CPellixGridView *pGrid = m_pFirst->GetGridPane();
    CPellixView *pText = m_pFirst->GetTextPane();
    QRect rect;
    ASSERT_TRUE(pGrid->GetCellRect(pGrid->ItemOfRow(0), pGrid->FindColumn(2), rect));
    QTest::mouseClick(pGrid->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    ASSERT_EQ(pText->toPlainText(), "1");

    CChildFrame *pSecond = NewWindow();
    ASSERT_NE(pSecond, nullptr);
    Select(pSecond, "root");
    const auto enter = [pSecond](int nRow, int nCol, const QString &strText) {
        TypeIntoCell(pSecond, nRow, nCol, strText);
        QTest::keyClick(pSecond->GetGridPane()->GetCellEditor(), Qt::Key_Return);
    };
    enter(0, 2, "9");
    // A namespace declaration goes before the other attributes: "a" moves down a row.
    enter(1, 1, "xmlns:p");
    enter(1, 2, "urn:p");
    Select(pSecond, "root/child");

    EXPECT_EQ(pGrid->GetCellText(pGrid->ItemOfRow(1), pGrid->FindColumn(1)), "a");
    EXPECT_EQ(pText->IsLocked(), 0);
    EXPECT_EQ(pText->GetTargetRow(), 1);
    EXPECT_EQ(pText->toPlainText(), "9");
    pText->setFocus();
    pText->moveCursor(QTextCursor::End);
    QTest::keyClicks(pText, "x");
    EXPECT_EQ(pGrid->GetCellText(pGrid->ItemOfRow(1), pGrid->FindColumn(2)), "9x");
    Select(m_pFirst, "root/child");
    EXPECT_TRUE(Execute(ID_FILE_SAVE));
    EXPECT_EQ(Saved(),
              "<root xmlns:p=\"urn:p\" a=\"9x\">\t<child b=\"2\"></child>\r\n</root>\r\n\r\n");
}
