// Undo and Redo in the running program: the tree after a step is taken back or made again in
// every window, the title's mark and the menu texts, Replace All, a drag and a paste as one
// step each, and the editors of text keeping Undo for their own text.

#include "GuiTestKit.h"

#include "ChildFrame.h"
#include "CommandRouter.h"
#include "PellixDoc.h"
#include "PellixGridView.h"
#include "PellixTreeView.h"
#include "PellixView.h"
#include "Resource.h"
#include "TreePath.h"
#include "WindowTitle.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>

namespace
{

class UndoWindows : public PellixTest
{
protected:
    void SetUp() override { ASSERT_TRUE(StartApp()); }
    CPellixDoc *Open(const std::string &xml)
    {
        m_pDoc = OpenDoc(WriteFile("doc.xml", xml));
        EXPECT_NE(m_pDoc, nullptr);
        m_messages.clear();
        return m_pDoc;
    }
    // Selects the item at `strPath` in the tree of `pFrame` and makes the tree the pane the
    // commands go to.
    CPellixTreeView *InTree(CChildFrame *pFrame, const QString &strPath)
    {
        CPellixTreeView *pTree = pFrame->GetTreePane();
        Main().MDIActivate(pFrame);
        pFrame->SetActiveView(pTree);
        if (!strPath.isNull())
            pTree->SelectItem(ItemAtPath(pTree, strPath));
        return pTree;
    }
    // The text the menu shows for command nID, and whether it is enabled.
    std::pair<QString, bool> Menu(int nID)
    {
        Main().GetRouter()->Update();
        const QAction *pAction = Main().Action(nID);
        return {pAction->text(), pAction->isEnabled()};
    }
    std::string Saved()
    {
        EXPECT_TRUE(m_pDoc->SaveXMLDocument(m_pDoc->GetPathName()));
        return ReadBytes(m_pDoc->GetPathName().toStdString());
    }
    // Drags the item at `from` onto the one at `to` with the left button, as a user does.
    static void Drag(CPellixTreeView *pTree, const QString &from, const QString &to)
    {
        QWidget *pViewport = pTree->viewport();
        const auto at = [pTree](const QString &strPath) {
            return pTree->visualRect(pTree->IndexFromItem(ItemAtPath(pTree, strPath))).center();
        };
        const QPoint away = at(from) + QPoint(QApplication::startDragDistance() + 3, 0);
        const std::pair<QEvent::Type, QPoint> steps[] = {{QEvent::MouseButtonPress, at(from)},
                                                         {QEvent::MouseMove, away},
                                                         {QEvent::MouseMove, at(to)},
                                                         {QEvent::MouseButtonRelease, at(to)}};
        for (const auto &[type, pt] : steps) {
            const bool bRelease = type == QEvent::MouseButtonRelease;
            QMouseEvent event(type, pt, pViewport->mapToGlobal(pt),
                              type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                              bRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(pViewport, &event);
        }
    }

    CPellixDoc *m_pDoc = nullptr;
};

} // namespace

TEST_F(UndoWindows, TheTreeTitleAndMenuFollowUndoAndRedoInEveryWindow)
{
    Open("<r><a x=\"1\"><b/><c/></a><d/></r>");
    CChildFrame *pFirst = FrameOf(m_pDoc);
    ASSERT_TRUE(Execute(ID_WINDOW_NEW));
    CChildFrame *pSecond = FrameOf(m_pDoc, 1);
    ASSERT_NE(pSecond, nullptr);
    EXPECT_EQ(Menu(ID_EDIT_UNDO), std::make_pair(QStringLiteral("&Undo\tCtrl+Z"), false));
    EXPECT_EQ(Menu(ID_EDIT_REDO), std::make_pair(QStringLiteral("&Redo\tCtrl+Y"), false));

    CPellixTreeView *pTree = InTree(pFirst, "r/a");
    CPellixTreeView *pOther = pSecond->GetTreePane();
    pOther->SelectItem(ItemAtPath(pOther, "r/d"));
    ASSERT_TRUE(Execute(ID_TREE_DELETE));
    EXPECT_EQ(ShownWindowTitle(pFirst), "doc.xml:1*");
    EXPECT_EQ(Menu(ID_EDIT_UNDO), std::make_pair(QStringLiteral("&Undo Delete\tCtrl+Z"), true));
    // The parent closed meanwhile: Undo opens it again to show the item it restores.
    pTree->collapse(pTree->IndexFromItem(ItemAtPath(pTree, "r")));
    ASSERT_TRUE(Execute(ID_EDIT_UNDO));
    const CTreeItemRef restored = ItemAtPath(pTree, "r/a");
    ASSERT_FALSE(restored.IsNull());
    EXPECT_EQ(pTree->GetSelectedItem(), restored);
    EXPECT_TRUE(pTree->isExpanded(pTree->IndexFromItem(restored.GetParent())));
    EXPECT_EQ(pTree->GetShownItem(), restored);
    for (CPellixTreeView *pPane : {pTree, pOther})
        EXPECT_EQ(ChildLabels(ItemAtPath(pPane, "r/a")), (QStringList{"b", "c"}));
    // The other window shows the item but keeps its own selection.
    EXPECT_EQ(pOther->GetSelectedItem(), ItemAtPath(pOther, "r/d"));
    EXPECT_EQ(ShownWindowTitle(pFirst), "doc.xml:1");
    EXPECT_FALSE(m_pDoc->IsModified());
    EXPECT_EQ(Menu(ID_EDIT_UNDO), std::make_pair(QStringLiteral("&Undo\tCtrl+Z"), false));
    EXPECT_EQ(Menu(ID_EDIT_REDO), std::make_pair(QStringLiteral("&Redo Delete\tCtrl+Y"), true));

    // Redo takes it away again and leaves its parent selected.
    ASSERT_TRUE(Execute(ID_EDIT_REDO));
    for (CPellixTreeView *pPane : {pTree, pOther})
        EXPECT_EQ(ChildLabels(ItemAtPath(pPane, "r")), QStringList{"d"});
    EXPECT_EQ(pTree->GetSelectedItem(), ItemAtPath(pTree, "r"));
    EXPECT_EQ(ShownWindowTitle(pSecond), "doc.xml:2*");

    // A rename undone in the other window: its item takes the old name, and it is selected.
    InTree(pSecond, "r/d");
    ASSERT_TRUE(pOther->RenameItem(pOther->GetCurrentItem(), "e"));
    EXPECT_EQ(Menu(ID_EDIT_UNDO).first, "&Undo Rename\tCtrl+Z");
    ASSERT_TRUE(Execute(ID_EDIT_UNDO));
    EXPECT_EQ(ChildLabels(ItemAtPath(pTree, "r")), QStringList{"d"});
    EXPECT_EQ(pOther->GetSelectedItem(), ItemAtPath(pOther, "r/d"));
    EXPECT_EQ(Saved(), "<r>\t<d></d>\r\n</r>\r\n\r\n");
    EXPECT_TRUE(m_messages.messages().isEmpty());
}

TEST_F(UndoWindows, ReplaceAllADragAndAPasteAreOneStepEach)
{
    Open("<shelf><book/><box><book/></box><book/><end/></shelf>");
    const std::string original = Saved();
    CPellixTreeView *pTree = InTree(FrameOf(m_pDoc), "shelf");
    EXPECT_EQ(pTree->ReplaceAll(pTree->GetRootItem(), "book", "volume", CFindOptions()), 3);
    EXPECT_EQ(Menu(ID_EDIT_UNDO).first, "&Undo Replace All\tCtrl+Z");
    ASSERT_TRUE(Execute(ID_EDIT_UNDO));
    EXPECT_EQ(Saved(), original);
    EXPECT_FALSE(Menu(ID_EDIT_UNDO).second);

    pTree->expandAll();
    QApplication::processEvents();
    Drag(pTree, "shelf/box", "shelf/end");
    EXPECT_EQ(ChildLabels(ItemAtPath(pTree, "shelf/end")), QStringList{"box"});
    EXPECT_EQ(Menu(ID_EDIT_UNDO).first, "&Undo Move\tCtrl+Z");
    ASSERT_TRUE(Execute(ID_EDIT_UNDO));
    EXPECT_EQ(Saved(), original);
    EXPECT_EQ(pTree->GetSelectedItem(), ItemAtPath(pTree, "shelf/box"));

    InTree(FrameOf(m_pDoc), "shelf/box");
    ASSERT_TRUE(Execute(ID_EDIT_COPY));
    InTree(FrameOf(m_pDoc), "shelf/end");
    ASSERT_TRUE(Execute(ID_EDIT_PASTE));
    EXPECT_EQ(Menu(ID_EDIT_UNDO).first, "&Undo Paste\tCtrl+Z");
    ASSERT_TRUE(Execute(ID_EDIT_UNDO));
    EXPECT_EQ(Saved(), original);
    EXPECT_EQ(pTree->GetSelectedItem(), ItemAtPath(pTree, "shelf/end"));
}

TEST_F(UndoWindows, EditorsOfTextUndoTheirOwnTextAndTheTreeUndoesTheirCommit)
{
    Open("<r a=\"one\"><x/></r>");
    CChildFrame *pFrame = FrameOf(m_pDoc);
    InTree(pFrame, "r/x");
    ASSERT_TRUE(Execute(ID_TREE_DELETE));
    InTree(pFrame, "r");

    // A cell editor: Undo acts on what was typed into it, not on the delete.
    CPellixGridView *pGrid = pFrame->GetGridPane();
    pFrame->SetActiveView(pGrid);
    ASSERT_TRUE(pGrid->EditCellText(pGrid->ItemOfRow(0), pGrid->FindColumn(2), false));
    auto *pCell = qobject_cast<QLineEdit *>(pGrid->GetCellEditor());
    ASSERT_NE(pCell, nullptr);
    pCell->selectAll();
    pCell->insert("two");
    EXPECT_EQ(Menu(ID_EDIT_UNDO), std::make_pair(QStringLiteral("&Undo\tCtrl+Z"), true));
    EXPECT_EQ(Menu(ID_EDIT_REDO), std::make_pair(QStringLiteral("&Redo\tCtrl+Y"), false));
    ASSERT_TRUE(Execute(ID_EDIT_UNDO));
    EXPECT_EQ(pCell->text(), "one");
    ASSERT_TRUE(Execute(ID_EDIT_REDO));
    EXPECT_EQ(pCell->text(), "two");
    EXPECT_EQ(m_pDoc->GetHistory()->GetStepCount(), 1u);
    pGrid->EndCellEdit();

    // The text pane: the same for its text.
    CPellixView *pText = pFrame->GetTextPane();
    pFrame->SetActiveView(pText);
    pText->SetText("two", 0, 2);
    pText->moveCursor(QTextCursor::End);
    pText->insertPlainText("!");
    ASSERT_TRUE(Execute(ID_EDIT_UNDO));
    EXPECT_EQ(pText->toPlainText(), "two");
    EXPECT_EQ(Menu(ID_EDIT_REDO), std::make_pair(QStringLiteral("&Redo\tCtrl+Y"), true));
    ASSERT_TRUE(Execute(ID_EDIT_REDO));
    EXPECT_EQ(pText->toPlainText(), "two!");

    // A name being edited in the tree: the same for the name.
    CPellixTreeView *pTree = InTree(pFrame, QString());
    pTree->edit(pTree->currentIndex());
    auto *pLabel = qobject_cast<QLineEdit *>(pTree->indexWidget(pTree->currentIndex()));
    ASSERT_NE(pLabel, nullptr);
    pLabel->selectAll();
    pLabel->insert("s");
    EXPECT_EQ(Menu(ID_EDIT_UNDO), std::make_pair(QStringLiteral("&Undo\tCtrl+Z"), true));
    ASSERT_TRUE(Execute(ID_EDIT_UNDO));
    EXPECT_EQ(pLabel->text(), "r");
    // What Escape does: the editor closes without renaming.
    emit pTree->itemDelegate()->closeEditor(pLabel, QAbstractItemDelegate::RevertModelCache);
    EXPECT_FALSE(pTree->IsEditingLabel());

    // From the tree the rows are committed and their commit is the step taken back; then the
    // delete.
    EXPECT_EQ(Menu(ID_EDIT_UNDO).first, "&Undo Edit\tCtrl+Z");
    ASSERT_TRUE(Execute(ID_EDIT_UNDO));
    EXPECT_EQ(Saved(), "<r a=\"one\"></r>\r\n\r\n");
    ASSERT_TRUE(Execute(ID_EDIT_UNDO));
    EXPECT_EQ(Saved(), "<r a=\"one\">\t<x></x>\r\n</r>\r\n\r\n");
    ASSERT_TRUE(Execute(ID_EDIT_REDO));
    ASSERT_TRUE(Execute(ID_EDIT_REDO));
    EXPECT_EQ(Saved(), "<r a=\"two!\"></r>\r\n\r\n");
}
