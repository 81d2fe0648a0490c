// The soak's checks catch what they are there for: each is shown a window whose DOM was changed
// behind the editor's back, the way a fault would leave it, and must say so. A check that passed
// everything would let the soak pass whatever the program did.

#include "SoakChecks.h"
#include "SoakLog.h"

#include "ChildFrame.h"
#include "Document.h"
#include "EditContext.h"
#include "GuiTestKit.h"
#include "PellixDoc.h"
#include "PellixTreeView.h"
#include "Resource.h"
#include "TreeClipboard.h"
#include "TreePath.h"
#include "XmlWriter.h"

namespace
{

class SoakChecks : public PellixTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartApp());
        m_path = WriteFile("doc.xml", "<r a=\"1\"><x><y/></x><z>t</z></r>");
        m_pDoc = OpenDoc(m_path);
        ASSERT_NE(m_pDoc, nullptr);
        m_pFrame = FrameOf(m_pDoc);
        m_pTree = m_pFrame->GetTreePane();
        m_baseline = WriteXMLString(Document());
    }
    const dom::Node &Document() const { return m_pDoc->GetXMLDocument(); }
    dom::Node Node(const QString &strPath) const { return ItemAtPath(m_pTree, strPath).GetNode(); }
    // Every check of a soak step on the one window.
    SoakProblems Check() const
    {
        SoakProblems problems;
        CheckTreeMatchesDom(m_pTree, Document(), problems);
        CheckTreeHandles(m_pTree, Document(), problems);
        CheckGridRows(m_pFrame, Document(), problems);
        CheckClipboardMark({m_pTree}, problems);
        CheckModifiedFlag(m_pDoc, m_baseline, problems);
        return problems;
    }
    static std::string Joined(const SoakProblems &problems)
    {
        std::string text;
        for (const std::string &problem : problems)
            text += problem + "\n";
        return text;
    }

    QString m_path;
    CPellixDoc *m_pDoc = nullptr;
    CChildFrame *m_pFrame = nullptr;
    CPellixTreeView *m_pTree = nullptr;
    std::string m_baseline;
};

} // namespace

TEST_F(SoakChecks, AWindowInStepWithItsDomPassesAndEachKindOfDriftIsReported)
{
    m_pTree->SelectItem(ItemAtPath(m_pTree, "r/x"));
    EXPECT_EQ(Joined(Check()), "");

    // An attribute changed without the editor: the rows shown are stale, and the document says
    // it is unmodified although its DOM is not what was saved.
    dom::Node x = Node("r/x");
    ASSERT_EQ(x.setAttribute("b", "2"), S_OK);
    const std::string rows = Joined(Check());
    EXPECT_NE(rows.find("the unedited rows of /#document/r/x are not the node's parts: row 0 is 2 "
                        "=\"\", the node's 2 b=\"2\""),
              std::string::npos)
        << rows;
    EXPECT_NE(rows.find("the document is not modified, but its DOM is not what was saved"),
              std::string::npos)
        << rows;
    ASSERT_EQ(x.removeAttribute("b"), S_OK);

    // The selected element taken out of the DOM: its items, the selection and the rows still
    // name it.
    dom::Node r = Node("r");
    ASSERT_EQ(r.removeChild(x), S_OK);
    const std::string removed = Joined(Check());
    EXPECT_NE(removed.find("tree items under /#document/r are [x z], the DOM's elements [z]"),
              std::string::npos)
        << removed;
    EXPECT_NE(removed.find("the selected item /#document/r/x names a node that left the document"),
              std::string::npos)
        << removed;
    EXPECT_NE(removed.find("the edit context holds rows of a node that left the document"),
              std::string::npos)
        << removed;
    ASSERT_EQ(r.insertBefore(x, Node("r/z")), S_OK);
    EXPECT_EQ(Joined(Check()), "");

    // A cut image left on an item that no cut marks.
    ItemAtPath(m_pTree, "r/z").SetImage(CPellixTreeView::IMG_CUT);
    EXPECT_NE(Joined(Check()).find("item /#document/r/z shows the cut image, but no cut of it"),
              std::string::npos);
    TreeClipboard().Mark(m_pTree, ItemAtPath(m_pTree, "r/z"), CTreeClipboard::CLIP_CUT);
    EXPECT_EQ(Joined(Check()), "");
    TreeClipboard().EndCut();
}

TEST_F(SoakChecks, TheRowsAndTheTextPaneMustBelongToTheSelectedNode)
{
    m_pTree->SelectItem(ItemAtPath(m_pTree, "r/z"));
    // The context made to show another node than the selected one.
    m_pFrame->GetEditContext()->Fill(Node("r"));
    const std::string problems = Joined(Check());
    EXPECT_NE(
        problems.find("the edit context holds rows of 'r', the selected item is /#document/r/z"),
        std::string::npos)
        << problems;
}

TEST_F(SoakChecks, ASavedFileMustHoldAndReadBackAsTheDom)
{
    SoakProblems problems;
    ASSERT_TRUE(Execute(ID_FILE_SAVE));
    CheckSavedFile(Document(), m_path.toStdString(), problems);
    EXPECT_EQ(Joined(problems), "");

    // Bytes that are not the DOM's, then bytes that do not load.
    WriteFile("doc.xml", "<r a=\"1\"><x><y/></x><z>u</z></r>");
    CheckSavedFile(Document(), m_path.toStdString(), problems);
    const std::string other = Joined(problems);
    EXPECT_NE(other.find("the saved file is not the DOM's bytes"), std::string::npos) << other;
    EXPECT_NE(other.find("the saved file loads to another tree: after '    1 z': '      3 #text "
                         "= \"t\"' against '      3 #text = \"u\"'"),
              std::string::npos)
        << other;
    problems.clear();
    WriteFile("doc.xml", "<r>");
    CheckSavedFile(Document(), m_path.toStdString(), problems);
    ASSERT_FALSE(problems.empty());
    EXPECT_NE(problems.back().find("the saved file does not load"), std::string::npos)
        << Joined(problems);
}

TEST(SoakTreeDifference, ComparesAsALoaderReadsBack)
{
    dom::Document a = dom::Document::create();
    dom::Document b = dom::Document::create();
    ASSERT_EQ(a.loadXML("<r x=\"1\" y=\"2\"><p xml:space=\"preserve\"> </p>ab</r>"), S_OK);
    ASSERT_EQ(b.loadXML("<r x=\"1\" y=\"2\"><p xml:space=\"preserve\"> </p>ab</r>"), S_OK);
    EXPECT_EQ(TreeDifference(a, b), "");

    // Texts split in two read back as one; blanks alone outside xml:space="preserve" not at all.
    dom::Node r = a.documentElement();
    r.appendChild(a.createTextNode("c"));
    r.insertBefore(a.createTextNode(" \t"), r.firstChild());
    ASSERT_EQ(b.documentElement().lastChild().setNodeValue("abc"), S_OK);
    EXPECT_EQ(TreeDifference(a, b), "");

    // A section holding "]]>" is written as two.
    r.appendChild(a.createCDATASection("x]]>y"));
    ASSERT_EQ(b.documentElement().appendChild(b.createCDATASection("x]]")), S_OK);
    ASSERT_EQ(b.documentElement().appendChild(b.createCDATASection(">y")), S_OK);
    EXPECT_EQ(TreeDifference(a, b), "");
    ASSERT_EQ(r.removeChild(r.lastChild()), S_OK);
    ASSERT_EQ(b.documentElement().removeChild(b.documentElement().lastChild()), S_OK);
    ASSERT_EQ(b.documentElement().removeChild(b.documentElement().lastChild()), S_OK);

    // Blanks that are content, attribute order, values and kinds all count.
    r.firstChild().nextSibling().appendChild(a.createTextNode("\t"));
    EXPECT_NE(TreeDifference(a, b), "");
    ASSERT_EQ(b.documentElement().firstChild().firstChild().setNodeValue(" \t"), S_OK);
    EXPECT_EQ(TreeDifference(a, b), "");
    ASSERT_EQ(b.loadXML("<r y=\"2\" x=\"1\"><p xml:space=\"preserve\"> \t</p>abc</r>"), S_OK);
    EXPECT_EQ(TreeDifference(a, b), "after '  1 r': '    @x = \"1\"' against '    @y = \"2\"'");
    ASSERT_EQ(b.loadXML("<r x=\"1\" y=\"2\"><p xml:space=\"preserve\"> \t</p><![CDATA[abc]]></r>"),
              S_OK);
    EXPECT_NE(TreeDifference(a, b), "");
}

TEST(SoakLogDeathTest, ACrashPrintsTheSeedAndTheLastStepsWithTheirArguments)
{
    CSoakLog log(7, 100);
    for (int nStep = 1; nStep <= 60; ++nStep) {
        log.BeginStep(nStep);
        log.Note("click /r/x" + std::to_string(nStep));
    }
    // The last 50 steps, oldest first; the replay needs no more steps than were reached.
    const std::string dump = log.Dump();
    EXPECT_EQ(dump.find("#10 "), std::string::npos);
    EXPECT_LT(dump.find("#11 click /r/x11"), dump.find("#60 click /r/x60"));
    EXPECT_NE(dump.find("PELLIX_SOAK_SEED=7 PELLIX_SOAK_STEPS=60 "), std::string::npos);
    EXPECT_DEATH(std::abort(), "soak seed 7, step 60 of 100(.|\n)*#60 click /r/x60");
}
