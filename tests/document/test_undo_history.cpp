// Undo and Redo of the document: every kind of edit taken back and made again to the same
// bytes and the same nodes, the modified flag across save points, the history's bounds,
// refused edits, a DOM changed behind the editor's back, and seeded random sequences of edits,
// undos, redos and saves checked against the bytes a model expects.

#include "DocumentEditor.h"
#include "MessageRecorder.h"
#include "PellixDoc.h"
#include "Resource.h"
#include "TempDir.h"
#include "XmlWriter.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QObject>
#include <deque>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace
{

class UndoTest : public testing::Test
{
protected:
    UndoTest()
        : document(std::make_unique<CPellixDoc>()), editor(document->GetEditor()),
          history(document->GetHistory()), context(document->CreateEditContext(&window))
    {
    }
    bool Open(const std::string &xml)
    {
        path = QString::fromStdString(dir.write("in.xml", xml));
        const bool bOpened = document->OnOpenDocument(path);
        document->SetPathName(path, false);
        recorder.clear();
        return bOpened;
    }
    const dom::Document &Dom() const { return document->GetXMLDocument(); }
    // What a save would write now, without saving.
    std::string Bytes() const { return WriteXMLString(Dom()); }
    std::string Save()
    {
        EXPECT_TRUE(document->SaveXMLDocument(path));
        return ReadBytes(path.toStdString());
    }
    // The element reached from the document element by child element names ("" the document
    // element itself, "b/i" its child b's child i).
    dom::Node Element(const std::string &strPath) const
    {
        dom::Node node = Dom().documentElement();
        for (const QString &name : QString::fromStdString(strPath).split('/', Qt::SkipEmptyParts)) {
            node = node.firstChild();
            while (node &&
                   (node.nodeType() != dom::NODE_ELEMENT || node.nodeName() != name.toStdString()))
                node = node.nextSibling();
        }
        return node;
    }
    HRESULT Rename(const dom::Node &node, const char *name)
    {
        return editor->ReplaceNode(node, Dom().createElement(name));
    }
    MessageRecorder recorder;
    TempDir dir;
    QObject window;
    std::unique_ptr<CPellixDoc> document;
    CDocumentEditor *const editor;
    CUndoHistory *const history;
    CEditContext *const context;
    QString path;
};

// Mixed content, attributes in a chosen order, a comment, a PI and a declaration.
const std::string kBook = "<?xml version=\"1.0\"?>\n<!--top-->\n"
                          "<book z=\"1\" a=\"2\" m=\"3\">one<ch n=\"1\">t<b/>u</ch>two<?pi d?>"
                          "<ch n=\"2\"><p/></ch>three<!--c--></book>";

} // namespace

TEST_F(UndoTest, EveryKindOfEditIsUndoneAndRedoneToTheSameBytesAndNodes)
{
    ASSERT_TRUE(Open(kBook));
    const dom::Node book = Element("");
    const dom::Node first = Element("ch");
    const dom::Node b = Element("ch/b");
    const std::vector<dom::Node> bookParts = NodeRowParts(book);
    std::vector<std::string> after{Bytes()};

    ASSERT_TRUE(SUCCEEDED(editor->InsertNode(first, Dom().createElement("new"), b)));
    after.push_back(Bytes());
    ASSERT_TRUE(SUCCEEDED(editor->RemoveNode(first)));
    after.push_back(Bytes());
    ASSERT_TRUE(SUCCEEDED(Rename(book, "volume")));
    after.push_back(Bytes());
    ASSERT_TRUE(SUCCEEDED(editor->MoveNode(Element("ch/p"), Dom().documentElement(), dom::Node())));
    after.push_back(Bytes());
    // Rows: the character data goes before the first element, and an attribute changes.
    context->Fill(Dom().documentElement());
    ASSERT_TRUE(context->SetValue(1, "22"));
    ASSERT_TRUE(context->Commit().has_value());
    after.push_back(Bytes());
    {
        const CEditStep both(editor, IDS_STEP_REPLACE_ALL);
        ASSERT_TRUE(SUCCEEDED(Rename(Element("ch"), "chapter")));
        ASSERT_TRUE(SUCCEEDED(Rename(Element("p"), "para")));
    }
    after.push_back(Bytes());
    EXPECT_FALSE(history->CanRedo());

    const int kNames[] = {IDS_STEP_INSERT, IDS_STEP_DELETE, IDS_STEP_RENAME,
                          IDS_STEP_MOVE,   IDS_STEP_EDIT,   IDS_STEP_REPLACE_ALL};
    for (std::size_t i = after.size() - 1; i > 0; --i) {
        ASSERT_NE(after[i], after[i - 1]) << "edit " << i;
        EXPECT_EQ(history->GetUndoName(), kNames[i - 1]);
        ASSERT_TRUE(document->OnEditUndo());
        EXPECT_EQ(Bytes(), after[i - 1]) << "undo of edit " << i;
    }
    EXPECT_FALSE(document->OnEditUndo());
    // The very nodes are back: the handles held before the edits name them again.
    EXPECT_EQ(Dom().documentElement(), book);
    EXPECT_EQ(b.parentNode(), first);
    EXPECT_EQ(first.parentNode(), book);
    EXPECT_EQ(NodeRowParts(book), bookParts);
    EXPECT_FALSE(document->IsModified());

    for (std::size_t i = 1; i < after.size(); ++i) {
        ASSERT_TRUE(document->OnEditRedo());
        EXPECT_EQ(Bytes(), after[i]) << "redo of edit " << i;
    }
    EXPECT_FALSE(document->OnEditRedo());
    EXPECT_EQ(Save(), after.back());
    EXPECT_TRUE(recorder.messages().isEmpty());
}

// The save point and the step bound in general are the random sequences' part (below).
TEST_F(UndoTest, UndoCommitsTypedRowsFirstAndALoadStartsAFreshHistory)
{
    ASSERT_TRUE(Open("<r><b/></r>"));
    context->Fill(Element("b"));
    context->AppendRow(dom::NODE_COMMENT);
    ASSERT_TRUE(context->SetValue(context->GetRowCount() - 1, "note"));
    EXPECT_TRUE(document->IsModified());
    ASSERT_TRUE(document->OnEditUndo());
    EXPECT_FALSE(document->IsModified());
    EXPECT_EQ(context->GetRowCount(), 1);
    ASSERT_TRUE(document->OnEditRedo());
    EXPECT_EQ(Bytes(), "<r>\t<b>\t\t<!--note-->\r\n</b>\r\n</r>\r\n\r\n");
    EXPECT_TRUE(document->IsModified());

    ASSERT_TRUE(Open("<s/>"));
    EXPECT_FALSE(history->CanUndo() || history->CanRedo());
    ASSERT_TRUE(SUCCEEDED(Rename(Element(""), "t")));
    ASSERT_TRUE(document->OnEditUndo());
    EXPECT_FALSE(document->IsModified());
}

TEST_F(UndoTest, TheSizeBoundDropsOldStepsButNeverTheNewest)
{
    EXPECT_EQ(history->GetMaxSteps(), 100u);
    EXPECT_EQ(history->GetMaxRecordBytes(), std::size_t{64} << 20);
    ASSERT_TRUE(Open("<r><a/><b/><c/></r>"));
    const std::size_t nOne = CUndoHistory::RecordBytes(CDocumentEdit());
    history->SetLimits(100, nOne * 2);
    for (const char *name : {"a", "b", "c"})
        ASSERT_TRUE(SUCCEEDED(editor->RemoveNode(Element(name))));
    EXPECT_EQ(history->GetStepCount(), 2u);
    EXPECT_LE(history->GetRecordBytes(), nOne * 2);
    context->Fill(Element(""));
    for (int i = 0; i < 50; ++i)
        context->InsertRow(0, GridRow{dom::NODE_ATTRIBUTE, QString("a%1").arg(i), "v"});
    ASSERT_TRUE(context->Commit().has_value());
    EXPECT_EQ(history->GetStepCount(), 1u);
    EXPECT_GT(history->GetRecordBytes(), nOne * 2);
    ASSERT_TRUE(document->OnEditUndo());
    EXPECT_EQ(Bytes(), "<r></r>\r\n\r\n");
    EXPECT_FALSE(document->OnEditUndo());
    EXPECT_TRUE(document->IsModified());
}

TEST_F(UndoTest, ARefusedEditLeavesNoStepAndUndoTakesBackTheEditBeforeIt)
{
    ASSERT_TRUE(Open("<r><a><b/></a></r>"));
    const std::string original = Bytes();
    EXPECT_TRUE(FAILED(editor->InsertNode(Dom(), Dom().createElement("second"), dom::Node())));
    EXPECT_TRUE(FAILED(editor->MoveNode(Element("a"), Element("a/b"), dom::Node())));
    EXPECT_FALSE(history->CanUndo());
    EXPECT_FALSE(document->OnEditUndo());
    EXPECT_EQ(Bytes(), original);
    EXPECT_FALSE(document->IsModified());

    ASSERT_TRUE(SUCCEEDED(Rename(Element("a/b"), "c")));
    const std::string renamed = Bytes();
    EXPECT_TRUE(FAILED(editor->MoveNode(Element("a"), Element("a/c"), dom::Node())));
    // A commit with a refused row is still one step: the rows that were written.
    context->Fill(Element("a"));
    context->InsertRow(0, GridRow{dom::NODE_COMMENT, QString(), "bad -- comment"});
    context->InsertRow(0, GridRow{dom::NODE_ATTRIBUTE, "k", "v"});
    const std::optional<CRowsCommit> result = context->Commit();
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->refused.size(), 1u);
    EXPECT_EQ(Bytes(), "<r>\t<a k=\"v\">\t\t<c></c>\r\n</a>\r\n</r>\r\n\r\n");
    ASSERT_TRUE(document->OnEditUndo());
    EXPECT_EQ(Bytes(), renamed);
    ASSERT_TRUE(document->OnEditUndo());
    EXPECT_EQ(Bytes(), original);
    EXPECT_FALSE(document->OnEditUndo());
}

// A change that bypassed the editor leaves steps that no longer fit: they are forgotten, not
// forced onto the DOM.
TEST_F(UndoTest, ADomChangedBehindTheEditorsBackEndsTheHistory)
{
    ASSERT_TRUE(Open("<r><a/><b/></r>"));
    ASSERT_TRUE(SUCCEEDED(editor->RemoveNode(Element("a"))));
    // The removed a would go back before b, which is no longer there.
    dom::Node root = Element("");
    ASSERT_TRUE(SUCCEEDED(root.removeChild(Element("b"))));
    EXPECT_FALSE(document->OnEditUndo());
    EXPECT_FALSE(history->CanUndo());
    EXPECT_FALSE(history->CanRedo());
    EXPECT_TRUE(document->IsModified());
    EXPECT_EQ(Bytes(), "<r></r>\r\n\r\n");
}

TEST_F(UndoTest, UndoingTheDeleteOfALargeSubtreeLinksItBackWithoutACopy)
{
    constexpr int kElements = 100000;
    std::string xml = "<r><big>";
    for (int i = 0; i < kElements / 10; ++i)
        xml += "<g><e/><e/><e/><e/><e/><e/><e/><e/><e/></g>";
    xml += "</big><after/></r>";
    ASSERT_TRUE(Open(xml));
    const dom::Node big = Element("big");
    const std::size_t nNodes = Dom().nodeCount();
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(SUCCEEDED(editor->RemoveNode(big)));
    ASSERT_TRUE(document->OnEditUndo());
    // Generous for a debug build without a view: the step itself is a relink.
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_EQ(Element("big"), big);
    EXPECT_EQ(big.nextSibling(), Element("after"));
    EXPECT_EQ(Dom().nodeCount(), nNodes);
    ASSERT_TRUE(document->OnEditRedo());
    EXPECT_TRUE(big.parentNode().isNull());
    EXPECT_EQ(Dom().nodeCount(), nNodes);
}

namespace
{

// Seeded random edits made as the panes make them: through the editor and the rows of an edit
// context. Each call makes one, or tries one the DOM refuses; true when a step was made.
class RandomEdits
{
public:
    RandomEdits(CDocumentEditor *pEditor, CEditContext *pContext, const dom::Document &document,
                unsigned nSeed)
        : m_pEditor(pEditor), m_pContext(pContext), m_document(document), m_random(nSeed)
    {
    }
    int Pick(std::size_t nCount) { return int(m_random() % nCount); }
    bool Next()
    {
        std::vector<dom::Node> elements;
        Collect(m_document.documentElement(), elements);
        const dom::Node node = elements[std::size_t(Pick(elements.size()))];
        const dom::Node other = elements[std::size_t(Pick(elements.size()))];
        const bool bRoot = node == m_document.documentElement();
        switch (Pick(7)) {
        case 0:
            return SUCCEEDED(m_pEditor->InsertNode(node, NewElement(), Child(node)));
        case 1:
            return !bRoot && SUCCEEDED(m_pEditor->RemoveNode(node));
        case 2:
            return SUCCEEDED(m_pEditor->ReplaceNode(node, NewElement()));
        case 3: {
            // Into its own subtree, or beside the document element, the DOM refuses.
            const dom::Node target = Pick(8) == 0 && !bRoot ? m_document : other;
            return SUCCEEDED(m_pEditor->MoveNode(node, target, Child(target)));
        }
        case 4: {
            // Every element of one name renamed as one step.
            const CEditStep step(m_pEditor, IDS_STEP_REPLACE_ALL);
            bool bRenamed = false;
            for (const dom::Node &match : elements) {
                if (match.nodeName() == node.nodeName())
                    bRenamed = SUCCEEDED(m_pEditor->ReplaceNode(match, NewElement())) || bRenamed;
            }
            return bRenamed;
        }
        default:
            return EditRows(Pick(6) == 0 ? dom::Node(m_document) : node);
        }
    }

private:
    static void Collect(const dom::Node &node, std::vector<dom::Node> &elements)
    {
        elements.push_back(node);
        for (dom::Node child = node.firstChild(); child; child = child.nextSibling()) {
            if (child.nodeType() == dom::NODE_ELEMENT)
                Collect(child, elements);
        }
    }
    dom::Node NewElement() { return m_document.createElement("n" + std::to_string(Pick(4))); }
    // A child of `parent` of any kind, or null for the end.
    dom::Node Child(const dom::Node &parent)
    {
        std::vector<dom::Node> children{dom::Node()};
        for (dom::Node child = parent.firstChild(); child; child = child.nextSibling())
            children.push_back(child);
        return children[std::size_t(Pick(children.size()))];
    }
    // Changes a row or two of `node` and commits them: a step even when the node refuses every
    // row (a text under the document).
    bool EditRows(const dom::Node &node)
    {
        static const dom::NodeType kKinds[] = {dom::NODE_ATTRIBUTE, dom::NODE_TEXT,
                                               dom::NODE_COMMENT, dom::NODE_CDATA_SECTION};
        static const char *const kTexts[] = {"x", "a b", "1 < 2", "&amp", "two\nlines", ""};
        m_pContext->Fill(node);
        for (int i = 1 + Pick(2); i > 0; --i) {
            const int nRow = Pick(std::size_t(m_pContext->GetRowCount()) + 1);
            const QString strText = QString::fromLatin1(kTexts[Pick(6)]);
            if (nRow < m_pContext->GetRowCount())
                m_pContext->SetValue(nRow, strText);
            else
                m_pContext->InsertRow(
                    Pick(std::size_t(nRow) + 1),
                    GridRow{kKinds[Pick(4)], QString("k%1").arg(Pick(3)), strText});
        }
        if (!m_pContext->AreRowsEdited())
            m_pContext->AppendRow(dom::NODE_TEXT);
        return m_pContext->Commit().has_value();
    }

    CDocumentEditor *const m_pEditor;
    CEditContext *const m_pContext;
    const dom::Document m_document;
    std::mt19937 m_random;
};

} // namespace

// The model: the bytes of every state the history can return to, the position among them and
// the position last saved. The history is kept short so that its bound takes part.
TEST_F(UndoTest, RandomEditsUndosRedosAndSavesGiveTheBytesOfTheModel)
{
    constexpr std::size_t kSteps = 12;
    for (const unsigned nSeed : {1u, 7u, 2024u}) {
        ASSERT_TRUE(Open("<?xml version=\"1.0\"?><r a=\"1\">t<x><y/>u</x><!--c--><x/></r>"));
        history->SetLimits(kSteps, CUndoHistory::kMaxRecordBytes);
        RandomEdits edits(editor, context, Dom(), nSeed);
        std::deque<std::string> states{Bytes()};
        std::size_t nAt = 0;
        std::optional<std::size_t> saved = 0;
        for (int nOp = 0; nOp < 300; ++nOp) {
            const int nKind = edits.Pick(10);
            if (nKind < 3) {
                ASSERT_EQ(document->OnEditUndo(), nAt > 0);
                nAt -= nAt > 0 ? 1 : 0;
            } else if (nKind < 5) {
                ASSERT_EQ(document->OnEditRedo(), nAt + 1 < states.size());
                nAt += nAt + 1 < states.size() ? 1 : 0;
            } else if (nKind == 5) {
                ASSERT_EQ(Save(), states[nAt]);
                saved = nAt;
            } else if (edits.Next()) {
                states.resize(nAt + 1);
                if (saved && *saved > nAt)
                    saved.reset();
                states.push_back(Bytes());
                ++nAt;
                if (states.size() > kSteps + 1) {
                    states.pop_front();
                    --nAt;
                    saved = saved && *saved > 0 ? std::optional(*saved - 1) : std::nullopt;
                }
            }
            ASSERT_EQ(Bytes(), states[nAt]) << "seed " << nSeed << ", operation " << nOp;
            ASSERT_EQ(document->IsModified(), saved != nAt)
                << "seed " << nSeed << ", operation " << nOp;
        }
    }
}
