// Find with the XPath option: the elements an expression names become the match list, walked
// like any other; expressions that fail change nothing.

#include "TreeTestWindow.h"

namespace
{

const std::string kCatalog = "<catalog xmlns:p=\"urn:p\">"
                             "<record kind=\"zeta\"><title>One</title></record>"
                             "<record kind=\"alpha\"><title>Two</title><p:note/></record>"
                             "<record kind=\"zeta\"/>"
                             "</catalog>";

class TreeFindXPathTest : public TreeTest
{
protected:
    static CFindOptions XPath()
    {
        CFindOptions options;
        options.bXPath = true;
        return options;
    }
    void Find(const QString &strText, const CFindOptions &options = XPath())
    {
        tree->FindInTree(tree->GetRootItem(), strText, false, QString(), options);
    }
    // The matches, each as its path of labels below the document item.
    QStringList Matches() const
    {
        QStringList paths;
        for (const CTreeItemRef &item : tree->GetMatches()) {
            QStringList labels;
            for (CTreeItemRef up = item; up.GetParent(); up = up.GetParent())
                labels.prepend(up.GetLabel() + (up.GetParent().GetParent()
                                                    ? QString("[%1]").arg(RowOf(up))
                                                    : QString()));
            paths << labels.join('/');
        }
        return paths;
    }
    static int RowOf(const CTreeItemRef &item)
    {
        int nRow = 1;
        for (CTreeItemRef before = item.GetPrevSibling(); before; before = before.GetPrevSibling())
            ++nRow;
        return nRow;
    }
    CTreeItemRef Record(int nIndex) const
    {
        CTreeItemRef record = Item("catalog").GetFirstChild();
        for (int i = 1; i < nIndex; ++i)
            record = record.GetNextSibling();
        return record;
    }
};

const QString kFinished = QStringLiteral("Finished Searching the Document");

} // namespace

TEST_F(TreeFindXPathTest, FindNextWalksTheElementsTheExpressionSelects)
{
    ASSERT_TRUE(Open(kCatalog));
    const QString expression = "//record[@kind='zeta']";
    Find(expression);
    EXPECT_EQ(Matches(), (QStringList{"catalog/record[1]", "catalog/record[3]"}));
    EXPECT_EQ(tree->GetSelectedItem(), Record(1));
    Find(expression);
    EXPECT_EQ(tree->GetSelectedItem(), Record(3));
    Find(expression);
    EXPECT_EQ(recorder.messages(), QStringList{kFinished});
    EXPECT_EQ(tree->GetSelectedItem(), tree->GetRootItem());
    Find(expression);
    EXPECT_EQ(tree->GetSelectedItem(), Record(1));
    EXPECT_FALSE(doc->IsModified());
}

// Attributes and texts stand for their element, which is listed once, in tree order.
TEST_F(TreeFindXPathTest, AttributesAndTextsBringTheirElementsOnce)
{
    ASSERT_TRUE(Open(kCatalog));
    Find("//title/text() | //@kind | //p:note");
    EXPECT_EQ(Matches(), (QStringList{"catalog/record[1]", "catalog/record[1]/title[1]",
                                      "catalog/record[2]", "catalog/record[2]/title[1]",
                                      "catalog/record[2]/p:note[2]", "catalog/record[3]"}));
}

TEST_F(TreeFindXPathTest, DeletedMatchesAreSkipped)
{
    ASSERT_TRUE(Open(kCatalog));
    Find("//record");
    ASSERT_EQ(tree->GetSelectedItem(), Record(1));
    ASSERT_TRUE(tree->RemoveItem(Record(2)));
    Find("//record");
    EXPECT_EQ(Matches(), (QStringList{"catalog/record[1]", "catalog/record[2]"}));
    EXPECT_EQ(tree->GetSelectedItem(), Record(2));
    std::string kind;
    tree->GetSelectedItem().GetNode().getAttribute("kind", &kind);
    EXPECT_EQ(kind, "zeta");
}

TEST_F(TreeFindXPathTest, ExpressionsThatFailChangeNothing)
{
    ASSERT_TRUE(Open(kCatalog));
    Find("//title");
    const CTreeItemRef selected = tree->GetSelectedItem();
    const QStringList before = Matches();
    ASSERT_EQ(before.size(), 2);

    Find("//record[");
    Find("count(//record)");
    Find("//q:record");
    EXPECT_EQ(recorder.messages(),
              (QStringList{"Invalid XPath expression:\n"
                           "Invalid expression at character 10 of //record[",
                           "The XPath expression gives the number 3, not elements to select.",
                           "Invalid XPath expression:\n"
                           "Undefined namespace prefix at character 11 of //q:record"}));
    EXPECT_EQ(tree->GetSelectedItem(), selected);
    EXPECT_EQ(Matches(), before);
    // The list is still the one the last good search built: the next click walks on.
    Find("//title");
    EXPECT_EQ(tree->GetSelectedItem().GetParent(), Record(2));
}

// The same text searched by name and then as XPath builds a new list; no match selects
// nothing and says nothing.
TEST_F(TreeFindXPathTest, SwitchingTheOptionBuildsANewList)
{
    ASSERT_TRUE(Open(kCatalog));
    Find("record", CFindOptions());
    EXPECT_EQ(Matches().size(), 3);
    Find("record");
    EXPECT_TRUE(Matches().isEmpty());
    EXPECT_EQ(tree->GetSelectedItem(), Record(1));
    Find("catalog/record");
    EXPECT_EQ(Matches().size(), 3);
    EXPECT_TRUE(recorder.messages().isEmpty());
}

// The expression sees the edits of the rows shown, which the search commits first.
TEST_F(TreeFindXPathTest, ShownRowsAreCommittedBeforeTheEvaluation)
{
    ASSERT_TRUE(Open(kCatalog));
    Select(Record(2));
    ASSERT_EQ(Rows().value(0), "2|kind|alpha");
    EditCell(0, 2, "zeta");
    Find("//record[@kind='zeta']");
    EXPECT_EQ(Matches(),
              (QStringList{"catalog/record[1]", "catalog/record[2]", "catalog/record[3]"}));
}

TEST_F(TreeFindXPathTest, ReplaceAllRenamesTheSelectedElements)
{
    ASSERT_TRUE(Open(kCatalog));
    EXPECT_EQ(tree->ReplaceAll(tree->GetRootItem(), "//record[@kind='zeta']", "item", XPath()), 2);
    EXPECT_EQ(Record(1).GetLabel(), "item");
    EXPECT_EQ(Record(2).GetLabel(), "record");
    EXPECT_EQ(Record(3).GetLabel(), "item");
    EXPECT_EQ(tree->ReplaceAll(tree->GetRootItem(), "//record[", "item", XPath()), 0);
    EXPECT_EQ(Record(2).GetLabel(), "record");
}
