// Filling the grid from the selected node and writing edited rows back into it.

#include "TreeTestWindow.h"

#include "Resource.h"
#include "StringTable.h"

#include <QMenu>
#include <QTest>

namespace
{

const std::string kSample = "<?xml version=\"1.0\"?>\n"
                            "<root>\n"
                            "  <a x=\" 1 \" y=\"2\">t<b/></a>\n"
                            "  <c>x<d/>y</c>\n"
                            "  <m><!-- note --><?pi data ?><![CDATA[ cd ]]></m>\n"
                            "  <e/>\n"
                            "</root>\n";

// "name" for elements, "name:value" for other children, in document order.
QStringList Children(const dom::Node &node)
{
    QStringList children;
    for (dom::Node child = node.firstChild(); child; child = child.nextSibling()) {
        QString strChild = QString::fromUtf8(child.nodeName());
        if (child.nodeType() != dom::NODE_ELEMENT)
            strChild += QLatin1Char(':') + QString::fromUtf8(child.nodeValue());
        children << strChild;
    }
    return children;
}

QStringList Attributes(const dom::Node &node)
{
    QStringList attributes;
    dom::AttributeMap map = node.attributes();
    for (dom::Node attribute = map.nextNode(); attribute; attribute = map.nextNode())
        attributes << QString::fromUtf8(attribute.nodeName()) + QLatin1Char('=') +
                          QString::fromUtf8(attribute.nodeValue());
    return attributes;
}

} // namespace

TEST_F(TreeTest, SelectionFillsTrimmedRowsInNodeOrderAndLocksTheTextPane)
{
    ASSERT_TRUE(Open(kSample));
    tree->expandAll();
    text->SetText("left over", 0, 2);
    // A click on the label, as the user selects.
    const QRect rect = tree->visualRect(tree->IndexFromItem(Item("root/a")));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, rect.center());
    EXPECT_EQ(Rows(), (QStringList{"2|x|1", "2|y|2", "3|#text|t", "2||"}));
    EXPECT_EQ(text->IsLocked(), 1);
    EXPECT_TRUE(text->toPlainText().isEmpty());
    EXPECT_TRUE(grid->IsShowingNode());
    EXPECT_FALSE(grid->AreRowsEdited());
    EXPECT_EQ(tree->GetShownItem(), Item("root/a"));
    EXPECT_EQ(tree->GetCurrentItem(), Item("root/a"));

    Select(Item("root/m"));
    EXPECT_EQ(Rows(), (QStringList{"8|#comment|note", "7|pi|data", "4|#cdata-section|cd", "2||"}));
    Select(Item("root/c/d"));
    EXPECT_EQ(Rows(), QStringList{"2||"});
    Select(Item(""));
    EXPECT_EQ(Rows(), (QStringList{"7|xml|version=\"1.0\"", "2||"}));
}

TEST_F(TreeTest, NavigationAloneNeverChangesTheDocument)
{
    ASSERT_TRUE(Open(kSample));
    const std::string before = Save();
    for (const char *path : {"root/a", "root/c", "", "root/m", "root/c/d", "root/a", "root/e"})
        Select(Item(path));
    tree->CommitShownItem();
    EXPECT_FALSE(doc->IsModified());
    std::string strValue;
    Item("root/a").GetNode().getAttribute("x", &strValue);
    EXPECT_EQ(strValue, " 1 ");
    EXPECT_EQ(Children(Item("root/c").GetNode()), (QStringList{"#text:x", "d", "#text:y"}));
    EXPECT_EQ(Save(), before);
}

TEST_F(TreeTest, EditedRowsAreWrittenWithCharacterDataBeforeTheFirstElement)
{
    ASSERT_TRUE(Open(kSample));
    Select(Item("root/c"));
    ASSERT_EQ(Rows(), (QStringList{"3|#text|x", "3|#text|y", "2||"}));
    EditCell(2, 1, "n");
    EditCell(2, 2, "1");
    EXPECT_TRUE(doc->IsModified());
    Select(Item("root/a"));
    EditCell(1, 2, "3");
    Select(Item("root/e"));

    EXPECT_EQ(Children(Item("root/c").GetNode()), (QStringList{"#text:x", "#text:y", "d"}));
    EXPECT_EQ(Attributes(Item("root/c").GetNode()), QStringList{"n=1"});
    // Every row of a was written back, so x lost its blanks.
    EXPECT_EQ(Attributes(Item("root/a").GetNode()), (QStringList{"x=1", "y=3"}));
    EXPECT_EQ(Children(Item("root/a").GetNode()), (QStringList{"#text:t", "b"}));
    EXPECT_EQ(tree->GetItemTip(Item("root/a")), "x=1,y=3");
    EXPECT_EQ(tree->GetItemTip(Item("root/c")), "n=1");
    EXPECT_TRUE(recorder.messages().isEmpty());
}

TEST_F(TreeTest, RefusedRowsAreReportedAndSkippedWhileTheOtherRowsAreWritten)
{
    ASSERT_TRUE(Open("<root><p><?old x?></p><q/></root>"));
    Select(Item("root/p"));
    ASSERT_EQ(Rows(), (QStringList{"7|old|x", "2||"}));
    EditCell(0, 1, "1pi");
    const auto addRow = [this](int nID, const QString &strName, const QString &strValue) {
        Command(nID);
        const int nRow = grid->GetRowCount() - 1;
        if (!strName.isEmpty())
            EditCell(nRow, 1, strName);
        if (!strValue.isEmpty())
            EditCell(nRow, 2, strValue);
    };
    addRow(ID_INSERT_COMMENT, {}, "a--b");
    addRow(ID_INSERT_PROCESSINSTRUCTION, "pi", "x?>y");
    addRow(ID_INSERT_PROCESSINSTRUCTION, "empty", {});
    addRow(ID_INSERT_TEXT, {}, {});
    addRow(ID_INSERT_COMMENT, {}, "fine-");
    addRow(ID_INSERT_COMMENT, {}, "fine");
    addRow(ID_INSERT_ATTRIBUTE, "late", "v");
    addRow(ID_INSERT_ATTRIBUTE, "1bad", "v");
    recorder.clear();
    Select(Item("root/q"));

    const QStringList messages = recorder.messages();
    ASSERT_EQ(messages.size(), 5) << messages.join("|").toStdString();
    EXPECT_TRUE(messages[0].startsWith(LoadResString(IDS_INVALID_XMLNAME)));
    EXPECT_TRUE(messages[0].contains("row 1 (\"1pi\")"));
    EXPECT_TRUE(messages[1].contains("\"--\""));
    EXPECT_TRUE(messages[1].contains("row 3"));
    EXPECT_TRUE(messages[2].contains("\"?>\""));
    EXPECT_TRUE(messages[3].contains("row 7"));
    EXPECT_TRUE(messages[4].startsWith(LoadResString(IDS_INVALID_XMLNAME)));
    EXPECT_TRUE(messages[4].contains("\"1bad\""));
    const dom::Node p = Item("root/p").GetNode();
    EXPECT_EQ(Children(p), (QStringList{"empty:", "#comment:fine"}));
    EXPECT_EQ(Attributes(p), QStringList{"late=v"});
}

TEST_F(TreeTest, TextRowsOfTheDocumentAreRefusedAndItsCommentsKept)
{
    ASSERT_TRUE(Open("<?xml version=\"1.0\"?><root/><!--after-->"));
    Select(Item(""));
    ASSERT_EQ(Rows(), (QStringList{"7|xml|version=\"1.0\"", "8|#comment|after", "2||"}));
    Command(ID_INSERT_TEXT);
    EditCell(3, 2, "stray");
    EditCell(2, 1, "attr");
    Select(Item("root"));
    ASSERT_EQ(recorder.messages().size(), 2);
    EXPECT_TRUE(recorder.messages()[0].contains("row 3 (\"attr\")"));
    EXPECT_TRUE(recorder.messages()[1].contains("row 4"));
    EXPECT_EQ(Children(doc->GetXMLDocument()),
              (QStringList{"xml:version=\"1.0\"", "#comment:after", "root"}));
}

TEST_F(TreeTest, AttributeTypedInTheEmptyRowReachesTheSavedFile)
{
    ASSERT_TRUE(Open("<?xml version=\"1.0\"?><root><e/></root>"));
    Select(Item("root/e"));
    EditCell(0, 1, "k");
    EditCell(0, 2, "v");
    const std::string bytes = Save();
    EXPECT_NE(bytes.find("<e k=\"v\">"), std::string::npos) << bytes;
    EXPECT_FALSE(doc->IsModified());
    // Leaving the item afterwards writes the same rows again: nothing changes.
    Select(Item("root"));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(Save(), bytes);
}

TEST_F(TreeTest, TextRowsOfBlanksOnlyAreDroppedWhereAReaderWouldDropThem)
{
    ASSERT_TRUE(Open("<root><a><![CDATA[c]]><b/></a><p xml:space=\"preserve\"><b/></p></root>"));
    for (const QString &strPath : {QStringLiteral("root/a"), QStringLiteral("root/p")}) {
        Select(Item(strPath));
        Command(ID_INSERT_TEXT);
        EditCell(grid->GetRowCount() - 1, 2, QStringLiteral(" \t "));
    }
    Select(Item("root"));
    // Outside xml:space="preserve" a reader drops such a text: so does the commit, and the
    // file reads back as saved. Where blanks are content they are kept.
    EXPECT_EQ(Children(Item("root/a").GetNode()), (QStringList{"#cdata-section:c", "b"}));
    EXPECT_EQ(Children(Item("root/p").GetNode()), (QStringList{"#text: \t ", "b"}));
    const std::string bytes = Save();
    EXPECT_EQ(bytes, "<root>\t<a><![CDATA[c]]><b></b></a>\r\n"
                     "\t<p xml:space=\"preserve\"> \t <b></b></p>\r\n</root>\r\n\r\n");
    ASSERT_TRUE(Open(bytes));
    EXPECT_EQ(Save(), bytes);
    EXPECT_TRUE(recorder.messages().isEmpty());
}

TEST_F(TreeTest, NamespaceDeclarationRowsAreWrittenFirstAndOnlyWhereAReaderKeepsThem)
{
    ASSERT_TRUE(Open("<root><e a=\"1\"/></root>"));
    Select(Item("root/e"));
    EditCell(1, 1, "xmlns:d");
    EditCell(1, 2, "urn:d");
    Command(ID_INSERT_ATTRIBUTE);
    EditCell(2, 1, "xmlns:u");
    Command(ID_INSERT_ATTRIBUTE);
    EditCell(3, 1, "d:b");
    EditCell(3, 2, "2");
    const std::string bytes = Save();
    // Undeclaring a prefix is refused; the declaration comes first, where a reader puts it.
    ASSERT_EQ(recorder.messages().size(), 1);
    EXPECT_TRUE(recorder.messages()[0].contains("Attribute row 3 (\"xmlns:u\")"));
    EXPECT_EQ(bytes, "<root>\t<e xmlns:d=\"urn:d\" a=\"1\" d:b=\"2\"></e>\r\n</root>\r\n\r\n");
    EXPECT_EQ(Rows(), (QStringList{"2|xmlns:d|urn:d", "2|a|1", "2|d:b|2", "2||"}));
    ASSERT_TRUE(Open(bytes));
    EXPECT_EQ(Save(), bytes);
}

TEST_F(TreeTest, BlanksAroundProcessingInstructionDataAreDroppedWhereAReaderDropsThem)
{
    ASSERT_TRUE(Open("<?xml version=\"1.0\"?><root><e/></root>"));
    Select(Item("root/e"));
    Command(ID_INSERT_PROCESSINSTRUCTION);
    EditCell(1, 1, "pi");
    EditCell(1, 2, " \t data  ");
    // The declaration loses its blanks at both ends, as loading gives it.
    Select(Item(""));
    EditCell(0, 2, " version=\"1.0\"\t ");
    const std::string bytes = Save();
    EXPECT_EQ(bytes, "<?xml version=\"1.0\"?>\r\n<root>\t<e>\t\t<?pi data  ?>\r\n</e>\r\n"
                     "</root>\r\n\r\n");
    EXPECT_EQ(Children(Item("root/e").GetNode()), QStringList{"pi:data  "});
    ASSERT_TRUE(Open(bytes));
    EXPECT_EQ(Save(), bytes);
    EXPECT_TRUE(recorder.messages().isEmpty());
}

TEST_F(TreeTest, SavedBytesAfterRowAndTreeEdits)
{
    ASSERT_TRUE(Open("<?xml version=\"1.0\"?>\n<root><a x=\"1\">text</a><b/></root>"));
    Select(Item("root/a"));
    ASSERT_EQ(Rows(), (QStringList{"2|x|1", "3|#text|text", "2||"}));
    EditCell(1, 2, "changed");
    EditCell(2, 1, "y");
    EditCell(2, 2, "2");
    Command(ID_INSERT_CHILDELEMENT);
    Select(Item("root/b"));
    RenameSelected("c");
    EXPECT_EQ(Save(), "<?xml version=\"1.0\"?>\r\n"
                      "<root>\t<a x=\"1\" y=\"2\">changed<newChild></newChild></a>\r\n"
                      "\t<c></c>\r\n"
                      "</root>\r\n"
                      "\r\n");
}

TEST_F(TreeTest, DeletingTheShownItemsAncestorDropsItsRowsWithoutWritingThem)
{
    ASSERT_TRUE(Open(kSample));
    Select(Item("root/c/d"));
    const dom::Node d = Item("root/c/d").GetNode();
    EditCell(0, 1, "lost");
    EditCell(0, 2, "1");
    Popup(
        Item("root/c"), [](QMenu *) {}, ID_TREE_DELETE);
    EXPECT_TRUE(Item("root/c").IsNull());
    EXPECT_TRUE(d.parentNode().parentNode().isNull());
    EXPECT_EQ(tree->GetSelectedItem(), Item("root/m"));
    EXPECT_EQ(tree->GetShownItem(), Item("root/m"));
    EXPECT_EQ(tree->GetCurrentItem(), Item("root/m"));
    EXPECT_EQ(Rows(), (QStringList{"8|#comment|note", "7|pi|data", "4|#cdata-section|cd", "2||"}));
    tree->CommitShownItem();
    const std::string bytes = Save();
    EXPECT_EQ(bytes.find("lost"), std::string::npos);
    EXPECT_EQ(bytes.find("<c>"), std::string::npos);
    EXPECT_TRUE(Attributes(d).isEmpty());
    EXPECT_TRUE(recorder.messages().isEmpty());
}

TEST_F(TreeTest, DeleteKeyRemovesTheSelectedSubtreeAndSelectsANeighbour)
{
    ASSERT_TRUE(Open("<root><a/><c><d/></c><e/></root>"));
    Select(Item("root/c"));
    EditCell(0, 1, "lost");
    doc->SetModifiedFlag(false);
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Delete);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(Children(Item("root").GetNode()), (QStringList{"a", "e"}));
    EXPECT_EQ(tree->GetSelectedItem(), Item("root/e"));
    EXPECT_EQ(tree->GetShownItem(), Item("root/e"));
    QTest::keyClick(tree, Qt::Key_Delete);
    EXPECT_EQ(tree->GetSelectedItem(), Item("root/a"));
    QTest::keyClick(tree, Qt::Key_Delete);
    EXPECT_EQ(tree->GetSelectedItem(), Item("root"));
    EXPECT_EQ(Item("root").GetChildCount(), 0);
    EXPECT_TRUE(Children(Item("root").GetNode()).isEmpty());
    EXPECT_EQ(Save().find("lost"), std::string::npos);
}
