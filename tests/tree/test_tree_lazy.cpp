// Items made when first asked for: a document opens with the items in view, and edits made
// meanwhile show when the items come, never twice.

#include "DocumentEditor.h"
#include "MessageRecorder.h"
#include "PaneWindow.h"
#include "TempDir.h"
#include "TreeFind.h"
#include "TreeItemModel.h"
#include "TreePath.h"
#include "TreeTestWindow.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace
{

// Without the model checker, which asks every item for its children.
class LazyTreeTest : public ::testing::Test, protected PaneWindow
{
protected:
    bool Open(const std::string &xml)
    {
        const std::string path = dir.write("lazy" + std::to_string(m_nFiles++) + ".xml", xml);
        return doc->OpenXMLDocument(QString::fromStdString(path));
    }
    CTreeItemRef Item(const QString &strPath) const { return ItemAtPath(tree, strPath); }
    CTreeItemModel *Model() const { return tree->GetItemModel(); }
    bool IsFilled(const CTreeItemRef &item) const { return Model()->IsFilled(item.GetId()); }
    bool HasChildren(const CTreeItemRef &item) const
    {
        return Model()->hasChildren(tree->IndexFromItem(item));
    }
    CDocumentEditor *Editor() const { return doc->GetEditor(); }

    MessageRecorder recorder;
    TempDir dir;

private:
    int m_nFiles = 0;
};

const std::string kShelf = "<shelf>\n"
                           "  <a><b><c/></b>text</a>\n"
                           "  <d>only text</d>\n"
                           "  <e><f/><g/></e>\n"
                           "</shelf>\n";

} // namespace

TEST_F(LazyTreeTest, ItemsAreMadeWhenTheirParentIsFirstAskedFor)
{
    ASSERT_TRUE(Open(kShelf));
    // The document item is open at once, so the root element has its item; nothing below.
    const CTreeItemRef shelf = tree->GetRootItem().GetFirstChild();
    ASSERT_EQ(shelf.GetLabel(), "shelf");
    EXPECT_FALSE(IsFilled(shelf));
    EXPECT_EQ(Model()->FilledChildCount(shelf.GetId()), 0);
    EXPECT_TRUE(HasChildren(shelf));

    EXPECT_EQ(ChildLabels(shelf), (QStringList{"a", "d", "e"}));
    EXPECT_TRUE(IsFilled(shelf));
    EXPECT_FALSE(IsFilled(Item("shelf/a")));
    EXPECT_TRUE(HasChildren(Item("shelf/a")));
    EXPECT_FALSE(HasChildren(Item("shelf/d"))); // text is no child item

    // A view showing an open item makes its children's items.
    const CTreeItemRef e = Item("shelf/e");
    tree->expand(tree->IndexFromItem(shelf));
    tree->expand(tree->IndexFromItem(e));
    QApplication::processEvents();
    EXPECT_TRUE(tree->isExpanded(tree->IndexFromItem(e)));
    EXPECT_TRUE(IsFilled(e));
    EXPECT_EQ(Model()->FilledChildCount(e.GetId()), 2);
    EXPECT_EQ(Item("shelf/e/g").GetNode().parentNode(), e.GetNode());
    EXPECT_EQ(Item("shelf/a/b/c").GetImage(), CPellixTreeView::IMG_ELEMENT);
    EXPECT_EQ(Model()->DepthOf(Item("shelf/a/b/c").GetId()), 5);
    EXPECT_TRUE(ItemsMatchNodes(tree->GetRootItem()));
}

TEST_F(LazyTreeTest, EditsUnderItemsNotYetMadeShowOnceWhenTheyCome)
{
    ASSERT_TRUE(Open(kShelf));
    ChildLabels(Item("shelf"));
    const CTreeItemRef a = Item("shelf/a");
    const CTreeItemRef d = Item("shelf/d");
    ASSERT_FALSE(IsFilled(a));
    const dom::Node aNode = a.GetNode();
    const dom::Node dNode = d.GetNode();

    // An element inserted under an item whose children have no items yet: no item now, and
    // one (not two) once they are asked for.
    const dom::Node inserted = aNode.ownerDocument().createElement("new");
    ASSERT_EQ(Editor()->InsertNode(aNode, inserted, dom::Node()), S_OK);
    EXPECT_FALSE(IsFilled(a));
    EXPECT_EQ(ChildLabels(a), (QStringList{"b", "new"}));

    // d had no element child: views are told to ask again, and now it has one.
    QSignalSpy changed(Model(), &QAbstractItemModel::dataChanged);
    EXPECT_FALSE(HasChildren(d));
    ASSERT_EQ(Editor()->InsertNode(dNode, dNode.ownerDocument().createElement("x"), dom::Node()),
              S_OK);
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed.at(0).at(0).value<QModelIndex>(), tree->IndexFromItem(d));
    EXPECT_TRUE(HasChildren(d));
    EXPECT_FALSE(IsFilled(d));

    // Removed again before anyone looked: no item comes, and views hear of it.
    ASSERT_EQ(Editor()->RemoveNode(dNode.firstChild().nextSibling()), S_OK);
    EXPECT_EQ(changed.size(), 2);
    EXPECT_FALSE(HasChildren(d));
    EXPECT_TRUE(ChildLabels(d).isEmpty());

    // A node moved out of a subtree without items into one with items gets an item in its
    // place; moved back, its item goes with it and keeps its identity, its new siblings
    // getting their items first.
    const dom::Node c = Item("shelf/a/b").GetNode().firstChild();
    const CTreeItemRef e = Item("shelf/e");
    ChildLabels(e);
    const CTreeItemRef b = Item("shelf/a/b");
    ASSERT_FALSE(IsFilled(b));
    ASSERT_EQ(Editor()->MoveNode(c, e.GetNode(), Item("shelf/e/g").GetNode()), S_OK);
    EXPECT_EQ(ChildLabels(e), (QStringList{"f", "c", "g"}));
    const CTreeItemRef cItem = Item("shelf/e/c");
    ASSERT_EQ(Editor()->MoveNode(c, b.GetNode(), dom::Node()), S_OK);
    EXPECT_EQ(ChildLabels(e), (QStringList{"f", "g"}));
    EXPECT_TRUE(IsFilled(b));
    EXPECT_EQ(ChildLabels(b), QStringList{"c"});
    EXPECT_EQ(Item("shelf/a/b/c"), cItem);
    EXPECT_TRUE(ItemsMatchNodes(tree->GetRootItem()));
}

// The search walks every element, so it finds what has no item yet.
// A search reads the elements beneath items not yet made and makes only the items of what it
// finds (with their siblings, as an expanded parent has them), in the order the tree shows.
TEST_F(LazyTreeTest, FindReachesElementsWithoutItemsAndMakesOnlyThoseItFinds)
{
    ASSERT_TRUE(Open(kShelf));
    // e's children are made, a's and d's not: the walk passes through both kinds.
    const CTreeItemRef e = Item("shelf/e");
    ASSERT_EQ(Model()->ChildCount(e.GetId()), 2);
    ASSERT_TRUE(IsFilled(e));

    tree->FindInTree(tree->GetRootItem(), "b", false, QString(), CFindOptions());
    EXPECT_FALSE(IsFilled(Item("shelf/d")));
    EXPECT_FALSE(IsFilled(Item("shelf/a/b")));
    const CTreeItemRef found = tree->GetSelectedItem();
    EXPECT_EQ(found, Item("shelf/a/b"));
    EXPECT_EQ(found.GetNode().nodeName(), "b");

    tree->FindInTree(tree->GetRootItem(), "g", false, QString(), CFindOptions());
    EXPECT_EQ(tree->GetMatches(), (std::vector<CTreeItemRef>{Item("shelf/e/g")}));

    CFindOptions xpath;
    xpath.bXPath = true;
    tree->FindInTree(tree->GetRootItem(), "//g | //c | //d", false, QString(), xpath);
    EXPECT_EQ(tree->GetMatches(),
              (std::vector<CTreeItemRef>{Item("shelf/a/b/c"), Item("shelf/d"), Item("shelf/e/g")}));
    EXPECT_FALSE(IsFilled(Item("shelf/d")));
    EXPECT_TRUE(ItemsMatchNodes(tree->GetRootItem()));
}

TEST_F(LazyTreeTest, ABigDocumentOpensWithTheItemsInViewOnly)
{
    const int records = 100000;
    std::string xml = "<records>";
    for (int i = 0; i < records; ++i)
        xml += "<record id=\"" + std::to_string(i) + "\"><name>n</name><note>t</note></record>";
    xml += "</records>";
    ASSERT_TRUE(Open(xml));
    const CTreeItemRef top = Item("records");
    ASSERT_FALSE(top.IsNull());
    EXPECT_FALSE(IsFilled(top));

    tree->expand(tree->IndexFromItem(top));
    QApplication::processEvents();
    EXPECT_EQ(Model()->FilledChildCount(top.GetId()), records);
    EXPECT_FALSE(IsFilled(top.GetFirstChild()));
    const CTreeItemModel::ItemId lastId = Model()->ChildAt(top.GetId(), records - 1);
    EXPECT_EQ(Model()->NodeOf(lastId).attributes().item(0).nodeValue(),
              std::to_string(records - 1));
    EXPECT_FALSE(Model()->IsFilled(lastId));
}

// The model checker (it asks every item for its children) sees a consistent model through
// edits into items made from the DOM at any moment.
TEST_F(TreeTest, LazyItemsPassTheModelCheckerThroughEdits)
{
    ASSERT_TRUE(Open(kShelf));
    QAbstractItemModelTester tester(tree->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    const dom::Node shelf = Item("shelf").GetNode();
    CDocumentEditor *pEditor = doc->GetEditor();
    ASSERT_EQ(pEditor->InsertNode(shelf, shelf.ownerDocument().createElement("z"), dom::Node()),
              S_OK);
    ASSERT_EQ(pEditor->MoveNode(Item("shelf/z").GetNode(), Item("shelf/d").GetNode(), dom::Node()),
              S_OK);
    ASSERT_EQ(pEditor->RemoveNode(Item("shelf/a").GetNode()), S_OK);
    EXPECT_EQ(ChildLabels(Item("shelf")), (QStringList{"d", "e"}));
    EXPECT_EQ(ChildLabels(Item("shelf/d")), QStringList{"z"});
    EXPECT_TRUE(ItemsMatchNodes(Item("")));
}
