// The tree's items: building from the DOM, item references, AddItem and the label tooltips.

#include "TreeTestWindow.h"

#include "Resource.h"

#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

namespace
{

const std::string kSample = "<?xml version=\"1.0\"?>\n"
                            "<root>\n"
                            "  <a x=\" 1 \" y=\"2\">t<b/></a>\n"
                            "  <c>x<d/>y</c>\n"
                            "  <e/>\n"
                            "</root>\n";

} // namespace

TEST_F(TreeTest, BuildMakesTheDocumentItemAndOneItemPerElementInDocumentOrder)
{
    ASSERT_TRUE(Open(kSample));
    const CTreeItemRef document = tree->GetRootItem();
    EXPECT_EQ(document.GetLabel(), "#document");
    EXPECT_EQ(document.GetImage(), CPellixTreeView::IMG_DOCUMENT);
    EXPECT_TRUE(document.GetNextSibling().IsNull());
    EXPECT_TRUE(document.GetParent().IsNull());
    EXPECT_EQ(document.GetNode(), doc->GetXMLDocument());
    EXPECT_EQ(ChildLabels(document), QStringList{"root"});
    EXPECT_EQ(ChildLabels(Item("root")), (QStringList{"a", "c", "e"}));
    EXPECT_EQ(ChildLabels(Item("root/a")), QStringList{"b"});
    EXPECT_EQ(ChildLabels(Item("root/c")), QStringList{"d"});
    EXPECT_EQ(Item("root/c/d").GetImage(), CPellixTreeView::IMG_ELEMENT);
    EXPECT_EQ(Item("root/c/d").GetNode().parentNode(), Item("root/c").GetNode());
    EXPECT_EQ(Item("root/c").GetPrevSibling(), Item("root/a"));
    // The grid stays empty until the user selects an item.
    EXPECT_EQ(grid->GetRowCount(), 0);
    EXPECT_TRUE(recorder.messages().isEmpty());
}

TEST_F(TreeTest, DocumentTypeIsReportedAfterTheLoadMessageAndTheTreeIsComplete)
{
    const std::string path = dir.write("dtd.xml", "<?xml version=\"1.0\"?>\n"
                                                  "<!DOCTYPE root [<!ELEMENT root ANY>]>\n"
                                                  "<root><a/><b/></root>");
    ASSERT_TRUE(doc->OpenXMLDocument(QString::fromStdString(path)));
    EXPECT_EQ(recorder.messages(),
              (QStringList{"XML document loaded successfully\n",
                           "DTD Reference is not supported in this version!"}));
    EXPECT_EQ(ChildLabels(Item("")), QStringList{"root"});
    EXPECT_EQ(ChildLabels(Item("root")), (QStringList{"a", "b"}));
}

TEST_F(TreeTest, HundredThousandLevelsBuildAndDeleteWithoutRecursion)
{
    constexpr int kDepth = 100000;
    std::string xml;
    for (int i = 0; i < kDepth; ++i)
        xml += "<d>";
    xml += "bottom";
    for (int i = 0; i < kDepth; ++i)
        xml += "</d>";
    ASSERT_TRUE(Open(xml));
    int nLevels = 0;
    CTreeItemRef deepest;
    for (CTreeItemRef item = Item("d"); item; item = item.GetFirstChild()) {
        deepest = item;
        ++nLevels;
    }
    EXPECT_EQ(nLevels, kDepth);
    EXPECT_EQ(deepest.GetNode().firstChild().nodeValue(), "bottom");

    // Selecting the deepest item, or opening every level below the top, keeps the view's
    // open chain within what it can lay out.
    Select(deepest);
    EXPECT_EQ(Rows(), (QStringList{"3|#text|bottom", "2||"}));
    tree->expandRecursively(tree->IndexFromItem(Item("")));
    QApplication::processEvents();
    EXPECT_TRUE(tree->isExpanded(tree->IndexFromItem(Item("d"))));
    EXPECT_FALSE(tree->isExpanded(tree->IndexFromItem(deepest.GetParent())));
    const CTreeItemRef second = Item("d").GetFirstChild();
    ASSERT_TRUE(tree->RemoveItem(second));
    EXPECT_TRUE(deepest.IsNull());
    EXPECT_EQ(Item("d").GetChildCount(), 0);
    EXPECT_EQ(tree->GetSelectedItem(), Item("d"));
    tree->DeleteAllTreeItems();
    EXPECT_TRUE(tree->GetRootItem().IsNull());
}

TEST_F(TreeTest, ReferencesOfDeletedItemsReadAsNullAndNeverNameLaterItems)
{
    ASSERT_TRUE(Open(kSample));
    const CTreeItemRef c = Item("root/c");
    const CTreeItemRef d = Item("root/c/d");
    const CTreeItemRef e = Item("root/e");
    const CTreeItemRef copy = d;
    EXPECT_TRUE(copy == d);
    EXPECT_TRUE(c.Contains(d));
    EXPECT_FALSE(d.Contains(c));

    ASSERT_TRUE(tree->RemoveItem(c));
    EXPECT_TRUE(c.IsNull());
    EXPECT_TRUE(copy.IsNull());
    EXPECT_TRUE(d.GetNode().isNull());
    EXPECT_TRUE(d.GetParent().IsNull());
    EXPECT_EQ(d.GetLabel(), QString());
    EXPECT_EQ(d.GetImage(), -1);
    EXPECT_TRUE(d.InsertChild("x", 1, e.GetNode()).IsNull());
    EXPECT_FALSE(e.IsNull());

    // New items reuse the freed places; the old references stay null.
    Select(e);
    Command(ID_INSERT_CHILDELEMENT);
    Command(ID_INSERT_CHILDELEMENT);
    EXPECT_EQ(e.GetChildCount(), 2);
    EXPECT_TRUE(c.IsNull());
    EXPECT_TRUE(d.IsNull());
    EXPECT_FALSE(d == e.GetFirstChild());

    // Deleting every item nulls every reference, even once new items fill the tree again.
    ASSERT_TRUE(Open(kSample));
    EXPECT_TRUE(e.IsNull());
    EXPECT_FALSE(Item("root/e").IsNull());
    EXPECT_TRUE(tree->GetCurrentItem().IsNull());
    EXPECT_TRUE(tree->GetShownItem().IsNull());
}

TEST_F(TreeTest, InsertChildPlacesFirstLastOrAfterASibling)
{
    ASSERT_TRUE(Open("<root><a/><b/></root>"));
    const CTreeItemRef root = Item("root");
    const dom::Document &dom = doc->GetXMLDocument();
    root.InsertChild("n1", 1, dom.createElement("n1"), CTreeItemRef::Where::First);
    root.InsertChild("n2", -1, dom.createElement("n2"));
    root.InsertChildAfter(Item("root/a"), "after a", 1, dom.createElement("n3"));
    EXPECT_EQ(ChildLabels(root), (QStringList{"n1", "a", "after a", "b", "n2"}));
    EXPECT_EQ(Item("root/after a").GetNode().nodeName(), "n3");
    EXPECT_EQ(Item("root/n2").GetImage(), 0);

    EXPECT_TRUE(root.InsertChildAfter(Item("root/a/x"), "x", 1, dom.createElement("x")).IsNull());
    EXPECT_TRUE(root.InsertChildAfter(root, "x", 1, dom.createElement("x")).IsNull());
    const dom::Document other = dom::Document::create();
    EXPECT_TRUE(root.InsertChild("z", 1, other.createElement("z")).IsNull());
    EXPECT_TRUE(root.InsertChild("z", 1, dom::Node()).IsNull());
    EXPECT_EQ(root.GetChildCount(), 5);
}

TEST_F(TreeTest, AddItemRefusesKindsThatHaveNoItems)
{
    New();
    const CTreeItemRef document = tree->GetRootItem();
    const dom::Node element = doc->GetXMLDocument().createElement("x");
    for (const int nKind : {2, 7, 9, -1}) {
        recorder.clear();
        EXPECT_TRUE(tree->AddItem(nKind, "x", element, document).IsNull()) << nKind;
        EXPECT_EQ(recorder.messages(), QStringList{"Invalid Item Type in AddItem"}) << nKind;
    }
    EXPECT_EQ(document.GetChildCount(), 0);
    const CTreeItemRef added = tree->AddItem(1, "x", element, document);
    EXPECT_EQ(added.GetImage(), 1);
    EXPECT_EQ(added.GetParent(), document);
    EXPECT_EQ(tree->AddItem(4, "x", element, added).GetImage(), 4);
}

TEST_F(TreeTest, TooltipListsTheAttributesAndShowsOnlyOverTheLabel)
{
    ASSERT_TRUE(Open("<root><averyveryverylongelementname x=\"a b\" y=\"\"/><c p=\"1,,\"/>"
                     "</root>"));
    const CTreeItemRef item = Item("root/averyveryverylongelementname");
    EXPECT_EQ(tree->GetItemTip(item), "x=a b,y=");
    EXPECT_EQ(tree->GetItemTip(Item("root/c")), "p=1");
    EXPECT_EQ(tree->GetItemTip(Item("")), QString());

    tree->expandAll();
    const QRect rect = tree->visualRect(tree->IndexFromItem(item));
    const int nTextWidth = tree->fontMetrics().horizontalAdvance(item.GetLabel());
    const int nIcon = tree->iconSize().width();
    const QPoint overLabel(rect.left() + nIcon + 12 + nTextWidth / 4, rect.center().y());
    const QPoint rightOfLabel(rect.left() + nIcon + nTextWidth + 60, rect.center().y());
    const QPoint blank(5, tree->viewport()->height() - 5);
    const auto hover = [this](const QPoint &pt) {
        QHelpEvent event(QEvent::ToolTip, pt, tree->viewport()->mapToGlobal(pt));
        QApplication::sendEvent(tree->viewport(), &event);
    };
    const auto hidden = [] { return QTest::qWaitFor([] { return !QToolTip::isVisible(); }); };

    hover(rightOfLabel);
    EXPECT_FALSE(QToolTip::isVisible());
    hover(overLabel);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "x=a b,y=");
    hover(rightOfLabel);
    EXPECT_TRUE(hidden());
    hover(blank);
    EXPECT_FALSE(QToolTip::isVisible());

    // Moving off the label hides a tip that shows.
    hover(overLabel);
    ASSERT_TRUE(QToolTip::isVisible());
    QTest::mouseMove(tree->viewport(), rightOfLabel);
    EXPECT_TRUE(hidden());
}
