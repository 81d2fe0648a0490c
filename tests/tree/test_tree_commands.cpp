// The tree's editing commands: insert, delete, rename, expand and collapse, the popup menu
// and its graying, and the modified flag.

#include "TreeTestWindow.h"

#include "Resource.h"
#include "StringTable.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <utility>
#include <vector>

namespace
{

const std::string kSample = "<?xml version=\"1.0\"?>\n"
                            "<root><a x=\"1\"/><c><d/></c><e/></root>\n";

} // namespace

TEST_F(TreeTest, PopupGrayingOnANewDocument)
{
    New();
    const CTreeItemRef document = Item("");
    Popup(
        document,
        [&](QMenu *pMenu) {
            EXPECT_EQ(tree->GetCurrentItem(), document);
            EXPECT_EQ(pMenu->actions().size(), 8);
            EXPECT_FALSE(IsMenuItemEnabled(pMenu, ID_TREE_DELETE));
            EXPECT_FALSE(IsMenuItemEnabled(pMenu, ID_TREE_INSERTELEMENT));
            EXPECT_TRUE(IsMenuItemEnabled(pMenu, ID_TREE_INSERTCHILDELEMENT));
            EXPECT_FALSE(IsMenuItemEnabled(pMenu, ID_TREE_RENAME));
            for (const int nID : {ID_TREE_CUT, ID_TREE_COPY, ID_TREE_PASTE})
                EXPECT_TRUE(IsMenuItemEnabled(pMenu, nID));
        },
        ID_TREE_INSERTCHILDELEMENT);
    EXPECT_EQ(ChildLabels(document), QStringList{"newChild"});
    EXPECT_EQ(doc->GetXMLDocument().documentElement().nodeName(), "newChild");
    EXPECT_TRUE(tree->isExpanded(tree->IndexFromItem(document)));
    EXPECT_TRUE(doc->IsModified());

    Popup(document,
          [](QMenu *pMenu) { EXPECT_FALSE(IsMenuItemEnabled(pMenu, ID_TREE_INSERTCHILDELEMENT)); });
    Select(document);
    EXPECT_FALSE(IsEnabled(ID_INSERT_CHILDELEMENT));
    EXPECT_FALSE(IsEnabled(ID_INSERT_ELEMENT));
    Select(Item("newChild"));
    EXPECT_TRUE(IsEnabled(ID_INSERT_CHILDELEMENT));
    EXPECT_TRUE(IsEnabled(ID_INSERT_ELEMENT));
}

TEST_F(TreeTest, TheDocumentElementIsNeverDeletedAndHoldsTheOnlyRootPlace)
{
    ASSERT_TRUE(Open(kSample));
    Popup(Item("root"), [](QMenu *pMenu) {
        EXPECT_FALSE(IsMenuItemEnabled(pMenu, ID_TREE_INSERTELEMENT));
        EXPECT_FALSE(IsMenuItemEnabled(pMenu, ID_TREE_DELETE));
        EXPECT_TRUE(IsMenuItemEnabled(pMenu, ID_TREE_INSERTCHILDELEMENT));
        EXPECT_TRUE(IsMenuItemEnabled(pMenu, ID_TREE_RENAME));
    });
    Popup(Item("root/c"), [](QMenu *pMenu) {
        EXPECT_TRUE(IsMenuItemEnabled(pMenu, ID_TREE_INSERTELEMENT));
        EXPECT_TRUE(IsMenuItemEnabled(pMenu, ID_TREE_DELETE));
    });
    Select(Item("root"));
    doc->SetModifiedFlag(false);
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Delete);
    EXPECT_FALSE(Item("root").IsNull());
    EXPECT_EQ(doc->GetXMLDocument().documentElement(), Item("root").GetNode());
    EXPECT_FALSE(doc->IsModified());

    // The main menu allows Insert Element here, but a document holds one root element: the
    // refusal is reported and leaves no item.
    EXPECT_TRUE(IsEnabled(ID_INSERT_ELEMENT));
    Command(ID_INSERT_ELEMENT);
    EXPECT_EQ(recorder.messages().size(), 1);
    EXPECT_EQ(ChildLabels(Item("")), QStringList{"root"});
    EXPECT_EQ(ElementNames(doc->GetXMLDocument()), QStringList{"root"});
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(TreeTest, InsertElementGoesJustBeforeTheCurrentItem)
{
    ASSERT_TRUE(Open("<root><a/><b/></root>"));
    Select(Item("root/a"));
    Command(ID_INSERT_ELEMENT);
    EXPECT_EQ(ChildLabels(Item("root")), (QStringList{"newElement", "a", "b"}));
    EXPECT_EQ(ElementNames(Item("root").GetNode()), (QStringList{"newElement", "a", "b"}));
    EXPECT_EQ(tree->GetSelectedItem(), Item("root/a"));
    Select(Item("root/b"));
    Command(ID_INSERT_ELEMENT);
    EXPECT_EQ(ChildLabels(Item("root")), (QStringList{"newElement", "a", "newElement", "b"}));
    EXPECT_TRUE(ItemsMatchNodes(Item("root")));

    Select(Item("root/a"));
    Command(ID_INSERT_CHILDELEMENT);
    Command(ID_INSERT_CHILDELEMENT);
    EXPECT_EQ(ChildLabels(Item("root/a")), (QStringList{"newChild", "newChild"}));
    EXPECT_TRUE(ItemsMatchNodes(Item("root/a")));
    EXPECT_TRUE(tree->isExpanded(tree->IndexFromItem(Item("root/a"))));
}

TEST_F(TreeTest, ADismissedPopupLeavesTheCommandsOnTheSelectedItem)
{
    ASSERT_TRUE(Open("<root><a/><b/></root>"));
    tree->expandAll();
    Select(Item("root/b"));
    const CTreeItemRef a = Item("root/a");
    // A right button press selects nothing; the popup it opens acts on a.
    QTest::mouseClick(tree->viewport(), Qt::RightButton, {},
                      tree->visualRect(tree->IndexFromItem(a)).center());
    Popup(a, [&](QMenu *) { EXPECT_EQ(tree->GetCurrentItem(), a); });
    EXPECT_EQ(tree->GetSelectedItem(), Item("root/b"));
    EXPECT_EQ(tree->GetShownItem(), Item("root/b"));
    EXPECT_EQ(tree->GetCurrentItem(), Item("root/b"));
    Command(ID_INSERT_ELEMENT);
    EXPECT_EQ(ChildLabels(Item("root")), (QStringList{"a", "newElement", "b"}));
}

TEST_F(TreeTest, EveryKindOfTreeEditMarksTheDocumentModified)
{
    const std::vector<std::pair<const char *, std::function<void()>>> edits = {
        {"menu Insert Element", [this] { Command(ID_INSERT_ELEMENT); }},
        {"menu Insert Child Element", [this] { Command(ID_INSERT_CHILDELEMENT); }},
        {"Delete key",
         [this] {
             tree->setFocus();
             QTest::keyClick(tree, Qt::Key_Delete);
         }},
        {"label edit", [this] { RenameSelected("z"); }},
        {"popup Insert Element", [this] { Popup(Item("root/e"), {}, ID_TREE_INSERTELEMENT); }},
        {"popup Insert Child Element",
         [this] { Popup(Item("root/e"), {}, ID_TREE_INSERTCHILDELEMENT); }},
        {"popup Delete", [this] { Popup(Item("root/e"), {}, ID_TREE_DELETE); }},
        {"menu Paste",
         [this] {
             Command(ID_EDIT_COPY);
             Command(ID_EDIT_PASTE);
         }},
        {"popup Paste",
         [this] {
             Command(ID_EDIT_COPY);
             Popup(Item("root/e"), {}, ID_TREE_PASTE);
         }},
        {"popup Cut and Paste",
         [this] {
             Popup(Item("root/a"), {}, ID_TREE_CUT);
             Popup(Item("root/e"), {}, ID_TREE_PASTE);
         }},
    };
    ASSERT_TRUE(Open(kSample));
    const std::string original = Save();
    for (const auto &[name, fnEdit] : edits) {
        ASSERT_TRUE(Open(kSample));
        Select(Item("root/c"));
        doc->SetModifiedFlag(false);
        fnEdit();
        EXPECT_TRUE(doc->IsModified()) << name;
        EXPECT_NE(Save(), original) << name;
    }
}

TEST_F(TreeTest, RenameKeepsAttributesChildrenAndTheirItems)
{
    ASSERT_TRUE(Open("<root><a x=\"1\" y=\"2\">t<b/><!--c--><d/></a></root>"));
    const CTreeItemRef a = Item("root/a");
    const CTreeItemRef b = Item("root/a/b");
    Select(a);
    doc->SetModifiedFlag(false);
    RenameSelected("z");
    EXPECT_TRUE(recorder.messages().isEmpty());
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(a.GetLabel(), "z");
    EXPECT_EQ(Item("root/z/b"), b);
    const dom::Node z = a.GetNode();
    EXPECT_EQ(z.nodeName(), "z");
    EXPECT_EQ(doc->GetXMLDocument().documentElement().firstChild(), z);
    EXPECT_EQ(z.attributes().item(0).nodeName(), "x");
    EXPECT_EQ(z.attributes().item(1).nodeName(), "y");
    EXPECT_EQ(z.firstChild().nodeValue(), "t");
    EXPECT_EQ(b.GetNode().parentNode(), z);
    EXPECT_EQ(ElementNames(z), (QStringList{"b", "d"}));
    EXPECT_EQ(tree->GetItemTip(a), "x=1,y=2");
    const std::string bytes = Save();
    EXPECT_NE(bytes.find("<z x=\"1\" y=\"2\">t"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("</z>"), std::string::npos) << bytes;
}

TEST_F(TreeTest, RenameRefusedByTheFirstLetterRuleOrByTheDomKeepsTheName)
{
    ASSERT_TRUE(Open("<root><a/></root>"));
    Select(Item("root/a"));
    const dom::Node before = Item("root/a").GetNode();
    const QString strRule = LoadResString(IDS_INVALID_XMLNAME);
    for (const QString &strName : {QString("1b"), QString("_x"), QString("a b"), QString()}) {
        recorder.clear();
        RenameSelected(strName);
        ASSERT_EQ(recorder.messages().size(), 1) << strName.toStdString();
        const bool bFirstLetter = strName.startsWith('1') || strName.startsWith('_');
        EXPECT_EQ(recorder.messages()[0] == strRule, bFirstLetter) << strName.toStdString();
        EXPECT_EQ(Item("root/a").GetNode(), before) << strName.toStdString();
        EXPECT_EQ(before.nodeName(), "a");
        EXPECT_EQ(tree->model()->data(tree->IndexFromItem(Item("root/a"))).toString(), "a");
    }
    recorder.clear();
    RenameSelected("b1");
    EXPECT_TRUE(recorder.messages().isEmpty());
    EXPECT_EQ(ChildLabels(Item("root")), QStringList{"b1"});
    EXPECT_EQ(doc->GetXMLDocument().documentElement().firstChild().nodeName(), "b1");
}

TEST_F(TreeTest, PopupRenameEditsTheClickedItemNotTheSelectedOne)
{
    ASSERT_TRUE(Open("<root><a/><b/></root>"));
    Select(Item("root/a"));
    Popup(Item("root/b"), {}, ID_TREE_RENAME);
    auto *pEditor =
        qobject_cast<QLineEdit *>(tree->indexWidget(tree->IndexFromItem(Item("root/b"))));
    ASSERT_NE(pEditor, nullptr);
    EXPECT_TRUE(tree->IsEditingLabel());
    pEditor->selectAll();
    QTest::keyClicks(pEditor, "z");
    QTest::keyClick(pEditor, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_FALSE(tree->IsEditingLabel());
    EXPECT_EQ(ChildLabels(Item("root")), (QStringList{"a", "z"}));
    EXPECT_EQ(tree->GetCurrentItem(), Item("root/a"));
}

TEST_F(TreeTest, RowsEditedBeforeARenameAreWrittenIntoTheRenamedElement)
{
    ASSERT_TRUE(Open("<root><a/><b/></root>"));
    Select(Item("root/a"));
    EditCell(0, 1, "k");
    EditCell(0, 2, "v");
    RenameSelected("z");
    Select(Item("root/b"));
    std::string strValue;
    EXPECT_EQ(Item("root/z").GetNode().getAttribute("k", &strValue), S_OK);
    EXPECT_EQ(strValue, "v");
}

TEST_F(TreeTest, TheDocumentItemsLabelCannotBeEdited)
{
    New();
    Select(Item(""));
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_F2);
    EXPECT_FALSE(tree->IsEditingLabel());
    EXPECT_EQ(qobject_cast<QLineEdit *>(QApplication::focusWidget()), nullptr);
    EXPECT_EQ(Item("").GetLabel(), "#document");
}

TEST_F(TreeTest, ExpandAllOpensOnlyTheDocumentItemAndKeepsDeeperStates)
{
    ASSERT_TRUE(Open("<root><a><a1><a2/></a1></a><b><b1/></b></root>"));
    const auto index = [this](const char *path) { return tree->IndexFromItem(Item(path)); };
    tree->expand(index(""));
    tree->expand(index("root"));
    tree->expand(index("root/a"));
    Command(ID_TREE_CONTRACTALL);
    EXPECT_FALSE(tree->isExpanded(index("")));
    Command(ID_TREE_EXPANDALL);
    EXPECT_TRUE(tree->isExpanded(index("")));
    EXPECT_TRUE(tree->isExpanded(index("root")));
    EXPECT_TRUE(tree->isExpanded(index("root/a")));
    EXPECT_FALSE(tree->isExpanded(index("root/a/a1")));
    EXPECT_FALSE(tree->isExpanded(index("root/b")));

    Select(Item("root/b"));
    Command(ID_TREE_EXPAND);
    EXPECT_TRUE(tree->isExpanded(index("root/b")));
    Command(ID_TREE_CONTRACT);
    EXPECT_FALSE(tree->isExpanded(index("root/b")));
    EXPECT_EQ(tree->GetCurrentItem(), Item("root/b"));
}

TEST_F(TreeTest, WithoutItemsCommandsAreDisabledAndDoNothing)
{
    const int commands[] = {ID_INSERT_ELEMENT, ID_INSERT_CHILDELEMENT, ID_TREE_EXPAND,
                            ID_TREE_CONTRACT,  ID_TREE_EXPANDALL,      ID_TREE_CONTRACTALL};
    for (const int nID : commands) {
        EXPECT_FALSE(IsEnabled(nID)) << nID;
        Command(nID);
    }
    for (int nID = ID_TREE_FIRST; nID <= ID_TREE_LAST; ++nID) {
        if (nID != ID_FILE_SAVE_ALL)
            Command(nID);
    }
    EXPECT_FALSE(tree->RemoveItem(CTreeItemRef()));
    EXPECT_FALSE(tree->RenameNode("x"));
    tree->CommitShownItem();
    Popup(CTreeItemRef(), [](QMenu *pMenu) {
        for (const QAction *pAction : pMenu->actions()) {
            EXPECT_TRUE(pAction->isSeparator() || !pAction->isEnabled())
                << pAction->text().toStdString();
        }
    });
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(recorder.messages().isEmpty());

    // A right click on blank space of a loaded document leaves no item to act on.
    ASSERT_TRUE(Open(kSample));
    Select(Item("root/a"));
    Popup(CTreeItemRef(), [this](QMenu *pMenu) {
        EXPECT_TRUE(tree->GetCurrentItem().IsNull());
        EXPECT_FALSE(IsMenuItemEnabled(pMenu, ID_TREE_INSERTCHILDELEMENT));
    });
    EXPECT_EQ(tree->GetCurrentItem(), Item("root/a"));
}

TEST_F(TreeTest, SaveAllIsLeftToTheApplication)
{
    EXPECT_FALSE(tree->HasCommandHandler(ID_FILE_SAVE_ALL));
    EXPECT_TRUE(tree->HasCommandHandler(ID_TREE_INSERTELEMENT));
    EXPECT_TRUE(tree->HasCommandHandler(ID_TREE_LAST));
}

TEST_F(TreeTest, ARefusedOrEmptyCommandLeavesTheDocumentUnmodified)
{
    ASSERT_TRUE(Open(kSample));
    const QStringList labels = ChildLabels(Item("root"));
    Select(Item("root"));
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Delete); // the document element stays
    EXPECT_FALSE(tree->RenameItem(Item("root/c"), "1bad"));
    recorder.clear();
    Popup(Item("root/c"), {}, 0);
    EXPECT_FALSE(doc->IsModified());
    ASSERT_FALSE(Item("root").IsNull());
    EXPECT_EQ(ChildLabels(Item("root")), labels);
}

TEST_F(TreeTest, DoubleClickOpensAndClosesF2AndASecondClickRename)
{
    ASSERT_TRUE(Open("<r><a><b/></a></r>"));
    const CTreeItemRef a = Item("r/a");
    Select(a);
    const QModelIndex index = tree->IndexFromItem(a);
    // A point on the label text, right of the image.
    const QRect rect = tree->visualRect(index);
    const QPoint at(rect.left() + tree->iconSize().width() + 8, rect.center().y());
    ASSERT_FALSE(tree->isExpanded(index));
    const auto doubleClick = [this, at] {
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::qWait(QApplication::doubleClickInterval() + 100);
    };
    doubleClick();
    EXPECT_TRUE(tree->isExpanded(index));
    EXPECT_FALSE(tree->IsEditingLabel());
    doubleClick();
    EXPECT_FALSE(tree->isExpanded(index));
    EXPECT_FALSE(tree->IsEditingLabel());

    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_F2);
    EXPECT_TRUE(tree->IsEditingLabel());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(tree->IsEditingLabel());

    // A single click on the label of the selected item starts the rename once the double
    // click time has passed.
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    EXPECT_TRUE(tree->IsEditingLabel());
}
