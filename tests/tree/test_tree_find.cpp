// Search and replace in the tree: what matches, the walk over the matches in both directions,
// the list that options continue, renaming one match or all, and deleted items.

#include "TreeTestWindow.h"

#include "Resource.h"

#include <QTest>

namespace
{

const std::string kShelf = "<?xml version=\"1.0\"?>\n"
                           "<shelf><book id=\"book\" name=\"book\"/><title>book</title>"
                           "<book><!--old book--></book></shelf>";

class TreeFindTest : public TreeTest
{
protected:
    void Find(const QString &strText, const CFindOptions &options = {})
    {
        tree->FindInTree(tree->GetRootItem(), strText, false, QString(), options);
    }
    void Replace(const QString &strText, const QString &strReplace,
                 const CFindOptions &options = {})
    {
        tree->FindInTree(tree->GetRootItem(), strText, true, strReplace, options);
    }
    // The labels of the selected item and its ancestors below the document item ("" for the
    // document item, "(none)" without a selection).
    QString Selected() const
    {
        const CTreeItemRef selected = tree->GetSelectedItem();
        if (selected.IsNull())
            return QStringLiteral("(none)");
        QStringList labels;
        for (CTreeItemRef item = selected; item.GetParent(); item = item.GetParent())
            labels.prepend(item.GetLabel());
        return labels.join(QLatin1Char('/'));
    }
    QStringList MatchLabels() const
    {
        QStringList labels;
        for (const CTreeItemRef &item : tree->GetMatches())
            labels << item.GetLabel();
        return labels;
    }
    static CFindOptions Only(bool CFindOptions::*pOption)
    {
        CFindOptions options;
        options.bElement = false;
        options.*pOption = true;
        return options;
    }
};

const QString kFinished = QStringLiteral("Finished Searching the Document");

} // namespace

TEST_F(TreeFindTest, FindNextWalksTheMatchesThenFinishesAndStartsOver)
{
    ASSERT_TRUE(Open(kShelf));
    const CTreeItemRef first = Item("shelf/book");
    Find("book");
    EXPECT_EQ(tree->GetSelectedItem(), first);
    EXPECT_TRUE(recorder.messages().isEmpty());
    // Each click moves on to the next element.
    Find("book");
    EXPECT_EQ(Selected(), "shelf/book");
    EXPECT_NE(tree->GetSelectedItem(), first);
    Find("book");
    EXPECT_EQ(recorder.messages(), QStringList{kFinished});
    EXPECT_EQ(Selected(), "");
    Find("book");
    EXPECT_EQ(tree->GetSelectedItem(), first);
    EXPECT_EQ(tree->GetShownItem(), first);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(TreeFindTest, UpWalksTheMatchesBackwards)
{
    ASSERT_TRUE(Open("<r><a1/><b/><a2><a3/></a2></r>"));
    CFindOptions up;
    up.nDirection = 0;
    const QStringList expected{"r/a2/a3", "r/a2", "r/a1", "", "r/a2/a3"};
    for (const QString &strPath : expected) {
        Find("a", up);
        EXPECT_EQ(Selected(), strPath);
    }
    // Turning round goes back the way it came.
    Find("a", up);
    EXPECT_EQ(Selected(), "r/a2");
    Find("a", CFindOptions());
    EXPECT_EQ(Selected(), "r/a2/a3");
    Find("a", up);
    EXPECT_EQ(Selected(), "r/a2");
    EXPECT_EQ(recorder.messages(), QStringList{kFinished});
}

TEST_F(TreeFindTest, CaseAndWholeText)
{
    ASSERT_TRUE(Open("<r><ab/><ab1/><ab-c/><abc/><x_ab/><abab/><AB/><ab\xC3\xA9/><d\xC3\xA9"
                     "ab/>"
                     "<\xC3\xA9t\xC3\xA9>\xC3\x89T\xC3\x89</\xC3\xA9t\xC3\xA9></r>"));
    Find("BOOK");
    EXPECT_TRUE(tree->GetMatches().empty());
    Find("AB");
    EXPECT_EQ(MatchLabels().size(), 9);
    CFindOptions matchCase;
    matchCase.bMatchCase = true;
    Find("Ab", matchCase);
    EXPECT_TRUE(MatchLabels().isEmpty());
    EXPECT_EQ(Selected(), "r/ab");

    // Letters of any script and "_" join words; digits and "-" part them. A failed
    // occurrence does not spoil the next one.
    CFindOptions whole;
    whole.bWholeText = true;
    Find("ab", whole);
    EXPECT_EQ(MatchLabels(), (QStringList{"ab", "ab1", "ab-c", "abab", "AB"}));
    matchCase.bWholeText = true;
    Find("AB", matchCase);
    EXPECT_EQ(MatchLabels(), QStringList{"AB"});
    // Lower case reaches beyond ASCII.
    CFindOptions text = Only(&CFindOptions::bText);
    Find("\xC3\xA9t\xC3\xA9", text);
    EXPECT_EQ(MatchLabels(), QStringList{"\xC3\xA9t\xC3\xA9"});
    EXPECT_TRUE(recorder.messages().isEmpty());
}

TEST_F(TreeFindTest, AttributesAndChildValuesAreCandidates)
{
    ASSERT_TRUE(Open(kShelf));
    // Both attribute values match: the element is listed twice but visited once.
    Find("book", Only(&CFindOptions::bAttrValue));
    EXPECT_EQ(MatchLabels(), (QStringList{"book", "book"}));
    Find("book", Only(&CFindOptions::bAttrValue));
    EXPECT_EQ(recorder.messages(), QStringList{kFinished});
    Find("name", Only(&CFindOptions::bAttrName));
    EXPECT_EQ(MatchLabels(), QStringList{"book"});
    // Text and Comment each admit every child value, the document's declaration included.
    Find("book", Only(&CFindOptions::bComment));
    EXPECT_EQ(MatchLabels(), (QStringList{"title", "book"}));
    Find("version", Only(&CFindOptions::bText));
    EXPECT_EQ(MatchLabels(), QStringList{"#document"});
    EXPECT_EQ(Selected(), "");
}

TEST_F(TreeFindTest, OptionsContinueTheListATextStartsANewOne)
{
    ASSERT_TRUE(Open(kShelf));
    Find("book");
    Find("book", Only(&CFindOptions::bAttrName));
    EXPECT_EQ(MatchLabels(), (QStringList{"book", "book"}));
    EXPECT_EQ(tree->GetSelectedItem(),
              Item("shelf").GetFirstChild().GetNextSibling().GetNextSibling());
    Find("title");
    EXPECT_EQ(Selected(), "shelf/title");
    // Nothing found: nothing selected, no message, and the next click searches again.
    Find("nothing");
    EXPECT_EQ(Selected(), "shelf/title");
    EXPECT_TRUE(tree->GetMatches().empty());
    Select(Item("shelf/title"));
    Command(ID_INSERT_CHILDELEMENT);
    Find("new");
    EXPECT_EQ(Selected(), "shelf/title/newChild");
    EXPECT_TRUE(recorder.messages().isEmpty());
}

TEST_F(TreeFindTest, ReplaceRenamesEachMatchAfterSelectingTheFirst)
{
    ASSERT_TRUE(Open(kShelf));
    const CTreeItemRef first = Item("shelf/book");
    Replace("book", "volume");
    EXPECT_EQ(tree->GetSelectedItem(), first);
    EXPECT_EQ(first.GetLabel(), "book");
    EXPECT_FALSE(doc->IsModified());
    Replace("book", "volume");
    EXPECT_EQ(first.GetLabel(), "volume");
    EXPECT_EQ(first.GetNode().nodeName(), "volume");
    EXPECT_EQ(ChildLabels(Item("shelf")), (QStringList{"volume", "title", "book"}));
    Replace("book", "volume");
    EXPECT_EQ(ChildLabels(Item("shelf")), (QStringList{"volume", "title", "volume"}));
    EXPECT_EQ(Selected(), "shelf/volume");
    EXPECT_NE(tree->GetSelectedItem(), first);
    const std::string saved = Save();
    EXPECT_NE(saved.find("<volume id=\"book\" name=\"book\"></volume>"), std::string::npos);
    EXPECT_NE(saved.find("<volume>\t\t<!--old book-->"), std::string::npos) << saved;
    EXPECT_TRUE(recorder.messages().isEmpty());
}

TEST_F(TreeFindTest, ReplaceAllRenamesEveryMatchAtOnce)
{
    ASSERT_TRUE(Open(kShelf));
    CFindOptions everything;
    everything.bAttrValue = everything.bText = true;
    // A name the DOM refuses: one message, nothing renamed.
    EXPECT_EQ(tree->ReplaceAll(tree->GetRootItem(), "book", "two words", everything), 0);
    EXPECT_EQ(recorder.messages().size(), 1);
    EXPECT_FALSE(doc->IsModified());

    EXPECT_EQ(tree->ReplaceAll(tree->GetRootItem(), "book", "volume", everything), 3);
    EXPECT_EQ(ChildLabels(Item("shelf")), (QStringList{"volume", "volume", "volume"}));
    EXPECT_TRUE(ItemsMatchNodes(Item("")));
    // The document item matches by its declaration but never takes a name.
    EXPECT_EQ(tree->ReplaceAll(tree->GetRootItem(), "1.0", "x", Only(&CFindOptions::bText)), 0);
    EXPECT_EQ(Item("").GetLabel(), "#document");
    EXPECT_NE(Save().find("<shelf>\t<volume id=\"book\" name=\"book\"></volume>\r\n"
                          "\t<volume>book</volume>\r\n"),
              std::string::npos);
}

TEST_F(TreeFindTest, DeletedItemsNeverComeBackOutOfTheList)
{
    ASSERT_TRUE(Open("<r><a1/><a2/><a3/></r>"));
    Find("a");
    EXPECT_EQ(Selected(), "r/a1");
    Select(Item("r/a2"));
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Delete);
    // A new item in the deleted item's place is no match of the old list.
    Select(Item("r/a1"));
    Command(ID_INSERT_CHILDELEMENT);
    Find("a");
    EXPECT_EQ(Selected(), "r/a3");
    Find("a");
    EXPECT_EQ(Selected(), "");
    Find("a");
    EXPECT_EQ(Selected(), "r/a1");
    // Replace goes on from there, past the deleted item too.
    Replace("a", "z");
    EXPECT_EQ(ChildLabels(Item("r")), (QStringList{"a1", "z"}));
    // After a reload the same text searches the new items.
    ASSERT_TRUE(Open("<q><a4/></q>"));
    Find("a");
    EXPECT_EQ(Selected(), "q/a4");
    EXPECT_TRUE(recorder.messages().isEmpty());
}
