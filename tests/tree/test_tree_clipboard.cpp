// The tree's clipboard: copies and moves of subtrees, the pastes it refuses, the cut image,
// the system clipboard's text and the label editor's own clipboard.

#include "TreeTestWindow.h"

#include "Resource.h"
#include "TreeClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>

namespace
{

const std::string kBooks = "<shelf><b x=\"1\">t<i><j/></i><!--c--></b><c/><d/></shelf>";

class TreeClipboardTest : public TreeTest
{
protected:
    void SetUp() override
    {
        // Every test starts with nothing marked.
        TreeClipboard() = CTreeClipboard();
        ASSERT_TRUE(Open(kBooks));
        tree->expandAll();
    }
    void CopyAt(const QString &strPath)
    {
        Select(Item(strPath));
        Command(ID_EDIT_COPY);
    }
    void CutAt(const QString &strPath)
    {
        Select(Item(strPath));
        Command(ID_EDIT_CUT);
    }
    void PasteAt(const QString &strPath)
    {
        Select(Item(strPath));
        Command(ID_EDIT_PASTE);
    }
};

} // namespace

TEST_F(TreeClipboardTest, CopyPastesADeepCopyAsLastChildEachTime)
{
    const dom::Node b = Item("shelf/b").GetNode();
    CopyAt("shelf/b");
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("<b x=\"1\">t<i><j></j></i><!--c--></b>\r\n"));
    doc->SetModifiedFlag(false);
    PasteAt("shelf/c");
    EXPECT_TRUE(doc->IsModified());
    PasteAt("shelf/c");

    // The source stays; the copies have every part, and every copied element its item.
    EXPECT_EQ(Item("shelf/b").GetNode(), b);
    EXPECT_NE(Item("shelf/c/b").GetNode(), b);
    EXPECT_TRUE(ItemsMatchNodes(Item("")));
    EXPECT_EQ(tree->GetItemTip(Item("shelf/c/b")), "x=1");
    EXPECT_EQ(tree->GetSelectedItem(), Item("shelf/c"));
    EXPECT_EQ(Save(), "<shelf>\t<b x=\"1\">t<i><j></j></i><!--c--></b>\r\n"
                      "\t<c>\t\t<b x=\"1\">t<i><j></j></i><!--c--></b>\r\n"
                      "\t\t<b x=\"1\">t<i><j></j></i><!--c--></b>\r\n</c>\r\n"
                      "\t<d></d>\r\n</shelf>\r\n\r\n");
}

TEST_F(TreeClipboardTest, CutAndPasteMovesTheSubtreeOnce)
{
    const CTreeItemRef b = Item("shelf/b");
    // An edit still in the grid goes with the subtree.
    Select(b);
    EditCell(0, 2, "2");
    Command(ID_EDIT_CUT);
    EXPECT_EQ(b.GetImage(), CPellixTreeView::IMG_CUT);
    PasteAt("shelf/d");
    EXPECT_EQ(ChildLabels(Item("shelf")), (QStringList{"c", "d"}));
    EXPECT_EQ(Item("shelf/d/b"), b);
    EXPECT_EQ(b.GetImage(), CPellixTreeView::IMG_ELEMENT);
    EXPECT_TRUE(ItemsMatchNodes(Item("")));
    // The cut is spent: a further paste adds nothing.
    PasteAt("shelf/c");
    EXPECT_EQ(Save(), "<shelf>\t<c></c>\r\n\t<d>\t\t<b x=\"2\">t<!--c--><i><j></j></i></b>\r\n"
                      "</d>\r\n</shelf>\r\n\r\n");
}

TEST_F(TreeClipboardTest, RefusedPastesChangeNothing)
{
    doc->SetModifiedFlag(false);

    // Under its own parent, or into its own subtree.
    CutAt("shelf/b");
    PasteAt("shelf");
    EXPECT_EQ(Item("shelf/b").GetImage(), CPellixTreeView::IMG_ELEMENT);
    CutAt("shelf/b");
    PasteAt("shelf/b/i/j");
    CutAt("shelf/b");
    PasteAt("shelf/b");
    // The document element is never removed, and cannot go below itself either.
    CutAt("shelf");
    PasteAt("shelf/c");
    // A document holds one root element: the refusal is reported and leaves no item.
    CopyAt("shelf/b");
    PasteAt("");
    EXPECT_EQ(recorder.messages().size(), 1);
    CopyAt("");
    PasteAt("shelf/c");
    // A new mark ends a pending cut.
    CutAt("shelf/b");
    CopyAt("shelf/c");
    EXPECT_EQ(Item("shelf/b").GetImage(), CPellixTreeView::IMG_ELEMENT);
    // A deleted mark pastes nothing.
    CopyAt("shelf/d");
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Delete);
    doc->SetModifiedFlag(false);
    PasteAt("shelf/c");

    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(ChildLabels(Item("")), QStringList{"shelf"});
    EXPECT_EQ(ChildLabels(Item("shelf")), (QStringList{"b", "c"}));
    EXPECT_TRUE(ItemsMatchNodes(Item("")));
    EXPECT_EQ(Save(), "<shelf>\t<b x=\"1\">t<i><j></j></i><!--c--></b>\r\n\t<c></c>\r\n"
                      "</shelf>\r\n\r\n");
}

TEST_F(TreeClipboardTest, WhileALabelIsEditedTheCommandsEditItsText)
{
    CopyAt("shelf/c");
    Select(Item("shelf/b"));
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_F2);
    auto *pEditor = qobject_cast<QLineEdit *>(tree->indexWidget(tree->currentIndex()));
    ASSERT_NE(pEditor, nullptr);
    pEditor->selectAll();
    Command(ID_EDIT_COPY);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "b");
    Command(ID_EDIT_CUT);
    EXPECT_EQ(pEditor->text(), "");
    Command(ID_EDIT_PASTE);
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(pEditor->text(), "bb");
    QTest::keyClick(pEditor, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(Item("shelf/bb").GetNode().nodeName(), "bb");

    // The tree's mark was left alone: c is pasted.
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(ElementNames(Item("shelf/bb").GetNode()), (QStringList{"i", "c"}));
}
