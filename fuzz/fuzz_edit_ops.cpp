// Fuzzes the edit API: bytes decoded into the edits the tree and the grid make on a loaded
// document (insert element or child, delete, rename, rows shown, edited and committed, drags,
// cut, copy and paste within a document and into a second one), and snapshots as recovery
// copies take them. After every step the node tree keeps its rules, no snapshot has changed,
// the editor announced exactly what happened (nothing for a refused edit, which changes
// nothing), the grid shows a node of its document, and each document saves and reads back to
// the same tree.

#include "Document.h"
#include "DocumentEditor.h"
#include "EditContext.h"
#include "FuzzSupport.h"
#include "XmlName.h"
#include "XmlWriter.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace
{

// Copies stop once a document has made this many nodes: each paste may double it.
constexpr std::size_t kMaxNodes = 4000;
constexpr int kMaxSteps = 48;

constexpr const char *kDocuments[] = {
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<!--head--><catalog xmlns:p=\"urn:p\">"
    "<record id=\"1\" p:a=\"x\">text<b c=\"d\"/><!--c--><?pi data?><![CDATA[x]]></record>"
    "<record xml:space=\"preserve\"> <c> keep </c> </record><p:e/></catalog>",
    "<!DOCTYPE r [<!ENTITY e \"v\">]><r a=\"1\"><s>&e;</s><t><u/></t></r>",
    "<p>one <b>two</b> three<i xml:space=\"default\"><j/></i></p>",
};

// Messages name the step that broke a rule.
std::vector<std::string> &StepLog()
{
    static std::vector<std::string> log;
    return log;
}

[[noreturn]] void Fail(const std::string &what)
{
    for (const std::string &step : StepLog())
        std::fprintf(stderr, "step: %s\n", step.c_str());
    Finding(what);
}

bool IsInDocument(const dom::Node &node, const dom::Document &document)
{
    dom::Node up = node;
    while (!up.parentNode().isNull())
        up = up.parentNode();
    return up == document;
}

// True when `node` is `top` or lies below it.
bool IsInSubtree(const dom::Node &node, const dom::Node &top)
{
    for (dom::Node up = node; up; up = up.parentNode()) {
        if (up == top)
            return true;
    }
    return false;
}

std::vector<std::pair<std::string, std::string>> Attributes(const dom::Node &node)
{
    std::vector<std::pair<std::string, std::string>> list;
    for (dom::NodeView a = node.view().firstAttribute(); a; a = a.nextAttribute())
        list.emplace_back(a.nodeName(), a.nodeValue());
    return list;
}

bool IsRowPart(dom::NodeType kind)
{
    return kind == dom::NODE_TEXT || kind == dom::NODE_CDATA_SECTION || kind == dom::NODE_COMMENT ||
           kind == dom::NODE_PROCESSING_INSTRUCTION;
}

// One open document: its DOM, its editor and one window's rows.
struct Side {
    explicit Side(dom::Document loaded) : document(std::move(loaded)), context(&editor, nullptr)
    {
        QObject::connect(&editor, &CDocumentEditor::edited,
                         [this](const CDocumentEdit &edit) { announced.push_back(edit); });
    }

    dom::Document document;
    CDocumentEditor editor;
    CEditContext context;
    std::vector<CDocumentEdit> announced;
    // Edits this step made; a step that made none must leave the bytes alone.
    int nExpected = 0;
    std::string saved;
    // A snapshot taken at some step (as a recovery copy takes one) and the bytes the document
    // saved to then: later edits of the document must not reach it.
    dom::Document snapshot;
    std::string snapshotSaved;
    // Each check reads the saved bytes back into this one document: a new document for each
    // would cost its first page of nodes every time.
    dom::Document again = dom::Document::create();
};

// The document node and its elements, in document order: what the tree shows.
std::vector<dom::Node> TreeNodes(const Side &side)
{
    std::vector<dom::Node> nodes;
    std::vector<dom::Node> pending{side.document};
    while (!pending.empty()) {
        const dom::Node node = pending.back();
        pending.pop_back();
        nodes.push_back(node);
        std::vector<dom::Node> children;
        for (dom::Node child = node.firstChild(); child; child = child.nextSibling()) {
            if (child.nodeType() == dom::NODE_ELEMENT)
                children.push_back(child);
        }
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    return nodes;
}

class EditRun
{
public:
    explicit EditRun(FuzzedDataProvider &input)
        : m_input(input), m_sides{Side(Load()), Side(Other())}
    {
    }

    void Run()
    {
        for (Side &side : m_sides)
            CheckSide(side, true);
        for (int step = 0; step < kMaxSteps && m_input.remaining_bytes() > 0; ++step) {
            Side &side = m_sides[m_input.ConsumeIntegralInRange(0, 5) == 0 ? 1 : 0];
            Step(side);
            for (Side &each : m_sides)
                CheckSide(each, false);
        }
    }

private:
    dom::Document Load()
    {
        dom::Document document = dom::Document::create();
        if (m_input.ConsumeBool()) {
            const std::string text = m_input.ConsumeRandomLengthString(512);
            if (document.loadXML(text) == S_OK && !document.documentElement().isNull())
                return document;
        }
        const std::size_t n = m_input.ConsumeIntegralInRange<std::size_t>(0, 2);
        if (document.loadXML(kDocuments[n]) != S_OK)
            Fail("a base document does not load");
        return document;
    }

    static dom::Document Other()
    {
        dom::Document document = dom::Document::create();
        if (document.loadXML("<other><x y=\"1\">z</x></other>") != S_OK)
            Fail("the second document does not load");
        return document;
    }

    int IndexOf(const Side &side) const { return &side == &m_sides[0] ? 0 : 1; }

    dom::Node Pick(const Side &side)
    {
        const std::vector<dom::Node> nodes = TreeNodes(side);
        return nodes[m_input.ConsumeIntegralInRange<std::size_t>(0, nodes.size() - 1)];
    }

    std::string Name()
    {
        if (m_input.ConsumeBool())
            return m_input.ConsumeBool() ? "newElement" : "newChild";
        return FuzzedText(m_input).toStdString();
    }

    void Log(const Side &side, const std::string &what, const dom::Node &node)
    {
        StepLog().push_back("doc " + std::to_string(IndexOf(side)) + ": " + what + " '" +
                            std::string(node.nodeName()) + "'");
    }

    void Step(Side &side)
    {
        switch (m_input.ConsumeIntegralInRange(0, 11)) {
        case 0:
            return InsertElement(side, Pick(side), false);
        case 1:
            return InsertElement(side, Pick(side), true);
        case 2:
            return Remove(side, Pick(side));
        case 3:
            return Rename(side, Pick(side));
        case 4: {
            const dom::Node node = Pick(side);
            Log(side, "show", node);
            CommitRows(side);
            side.context.Fill(node);
            return;
        }
        case 5:
            return EditRow(side);
        case 6:
            Log(side, "commit", side.context.GetNode());
            return CommitRows(side);
        case 7: {
            const dom::Node source = Pick(side);
            const dom::Node target = Pick(side);
            return Drag(side, source, target, m_input.ConsumeBool());
        }
        case 11:
            StepLog().push_back("doc " + std::to_string(IndexOf(side)) + ": snapshot");
            side.snapshot = side.document.snapshot();
            side.snapshotSaved = side.saved;
            return;
        case 8:
        case 9: {
            // A mark carries the edits of the rows shown.
            CommitRows(side);
            m_clip = {IndexOf(side), Pick(side), m_input.ConsumeBool()};
            Log(side, m_clip.bCut ? "cut" : "copy", m_clip.node);
            return;
        }
        default:
            return Paste(side, Pick(side));
        }
    }

    void InsertElement(Side &side, const dom::Node &current, bool bChild)
    {
        const dom::Node parent = bChild ? current : current.parentNode();
        const dom::Node before = bChild ? dom::Node() : current;
        const dom::Node created = side.document.createElement(Name());
        Log(side, bChild ? "insert child under" : "insert before", current);
        // The tree inserts no sibling of the document item.
        if (parent.isNull() || created.isNull())
            return;
        if (FAILED(side.editor.InsertNode(parent, created, before)))
            return;
        ++side.nExpected;
        if (!(created.parentNode() == parent) || !(created.nextSibling() == before))
            Fail("an inserted element is not where it was put");
    }

    // Delete as the tree does it: never the document or its element.
    void Remove(Side &side, const dom::Node &node)
    {
        Log(side, "delete", node);
        if (node.parentNode().nodeType() != dom::NODE_ELEMENT)
            return;
        if (FAILED(side.editor.RemoveNode(node)))
            Fail("the editor refused to delete an element");
        ++side.nExpected;
        if (!node.parentNode().isNull() || IsInDocument(node, side.document))
            Fail("a deleted element is still in the document");
    }

    void Rename(Side &side, const dom::Node &node)
    {
        const dom::Node created = side.document.createElement(Name());
        Log(side, "rename to '" + std::string(created.nodeName()) + "'", node);
        if (node.nodeType() != dom::NODE_ELEMENT || created.isNull())
            return;
        const auto attributes = Attributes(node);
        const dom::Node parent = node.parentNode();
        const dom::Node next = node.nextSibling();
        std::vector<dom::Node> children;
        for (dom::Node child = node.firstChild(); child; child = child.nextSibling())
            children.push_back(child);
        if (FAILED(side.editor.ReplaceNode(node, created)))
            Fail("the editor refused a rename to a valid name");
        ++side.nExpected;
        if (!(created.parentNode() == parent) || !(created.nextSibling() == next) ||
            !node.parentNode().isNull() || node.hasChildNodes())
            Fail("a renamed element is not in the old one's place");
        if (Attributes(created) != attributes)
            Fail("a rename changed the attributes or their order");
        dom::Node child = created.firstChild();
        for (const dom::Node &old : children) {
            if (!(child == old))
                Fail("a rename changed the children or their order");
            child = child.nextSibling();
        }
    }

    void EditRow(Side &side)
    {
        CEditContext &context = side.context;
        if (!context.IsShowingNode())
            return;
        const int nRow = m_input.ConsumeIntegralInRange(0, context.GetRowCount());
        Log(side, "edit row " + std::to_string(nRow) + " of", context.GetNode());
        switch (m_input.ConsumeIntegralInRange(0, 3)) {
        case 0: {
            const dom::NodeType kind = FuzzedRowKind(m_input);
            const QString strName = FuzzedText(m_input);
            context.InsertRow(nRow, {kind, strName, FuzzedText(m_input)});
            break;
        }
        case 1:
            context.SetKind(nRow, FuzzedRowKind(m_input));
            break;
        case 2:
            context.SetName(nRow, FuzzedText(m_input));
            break;
        default:
            context.SetValue(nRow, FuzzedText(m_input));
            break;
        }
    }

    // Commits the rows shown and checks the node holds what they said: the attributes in row
    // order (a later row of the same name sets the value in place, namespace declarations
    // first), then the character data.
    void CommitRows(Side &side)
    {
        std::vector<GridRow> rows;
        for (int i = 0; i < side.context.GetRowCount(); ++i)
            rows.push_back(*side.context.GetRow(i));
        const dom::Node node = side.context.GetNode();
        const std::optional<CRowsCommit> result = side.context.Commit();
        if (!result)
            return;
        ++side.nExpected;
        std::vector<std::pair<std::string, std::string>> attributes;
        std::vector<std::pair<dom::NodeType, std::string>> parts;
        std::size_t nRefused = 0;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (nRefused < result->refused.size() &&
                result->refused[nRefused].nRow == static_cast<int>(i)) {
                if (result->refused[nRefused++].strReason.isEmpty())
                    Fail("a row was refused without a reason");
                continue;
            }
            const std::string name = rows[i].strName.toStdString();
            const std::string value = rows[i].strValue.toStdString();
            if (rows[i].nKind != dom::NODE_ATTRIBUTE) {
                if (!value.empty() || rows[i].nKind == dom::NODE_PROCESSING_INSTRUCTION)
                    parts.emplace_back(rows[i].nKind, ReadBackData(rows[i].nKind, name, value));
            } else if (!name.empty()) {
                auto it = std::find_if(attributes.begin(), attributes.end(),
                                       [&](const auto &a) { return a.first == name; });
                if (it == attributes.end())
                    attributes.emplace_back(name, value);
                else
                    it->second = value;
            }
        }
        if (nRefused != result->refused.size())
            Fail("refused rows are out of order");
        // Namespace declarations lead the attributes, as the loader reads them.
        std::stable_partition(attributes.begin(), attributes.end(), [](const auto &a) {
            return a.first == "xmlns" || a.first.starts_with("xmlns:");
        });
        if (Attributes(node) != attributes)
            Fail("the committed attributes are not the rows, in their order");
        std::vector<std::pair<dom::NodeType, std::string>> written;
        for (dom::Node child = node.firstChild(); child; child = child.nextSibling()) {
            if (IsRowPart(child.nodeType()))
                written.emplace_back(child.nodeType(), std::string(child.nodeValue()));
        }
        // A text of blanks is kept only where white space is content (xml:space): whether it
        // is, is the commit's to say; everything else must be there.
        const auto blankText = [](const std::pair<dom::NodeType, std::string> &part) {
            return part.first == dom::NODE_TEXT && dom::IsXmlWhiteSpace(part.second);
        };
        std::erase_if(parts, blankText);
        std::erase_if(written, blankText);
        if (written != parts)
            Fail("the committed character data is not the rows, in their order");
    }

    // The tree's drop rules: onto an element, not the dragged item's parent nor its subtree.
    void Drag(Side &side, const dom::Node &source, const dom::Node &target, bool bCopy)
    {
        Log(side,
            std::string(bCopy ? "drag copy of '" : "drag '") + std::string(source.nodeName()) +
                "' onto",
            target);
        if (target.nodeType() != dom::NODE_ELEMENT || target == source.parentNode() ||
            IsInSubtree(target, source))
            return;
        Place(side, source, side, target, !bCopy);
    }

    void Paste(Side &side, const dom::Node &target)
    {
        Log(side, "paste onto", target);
        CommitRows(side);
        if (m_clip.node.isNull() || !IsInDocument(m_clip.node, m_sides[m_clip.nSide].document))
            return;
        if (Place(m_sides[m_clip.nSide], m_clip.node, side, target, m_clip.bCut) && m_clip.bCut)
            m_clip = {};
    }

    // Copies or moves `node` last under `parent` as the tree's paste and drop do.
    bool Place(Side &from, const dom::Node &node, Side &to, const dom::Node &parent, bool bMove)
    {
        if (bMove && (node.parentNode() == parent || IsInSubtree(parent, node)))
            return false;
        const bool bDocumentElement = node.parentNode().nodeType() == dom::NODE_DOCUMENT;
        if (bMove && &from == &to && !bDocumentElement) {
            if (FAILED(to.editor.MoveNode(node, parent, dom::Node())))
                return false;
            ++to.nExpected;
            if (!(node.parentNode() == parent) || !(parent.lastChild() == node))
                Fail("a moved element is not last under its new parent");
            return true;
        }
        if (to.document.nodeCount() > kMaxNodes)
            return false;
        const dom::Node copy = to.document.importNode(node, true);
        // Read before the insert: a copy may go into its own source.
        const std::string source = WriteXMLString(node);
        if (copy.isNull() || FAILED(to.editor.InsertNode(parent, copy, dom::Node())))
            return false;
        ++to.nExpected;
        if (WriteXMLString(copy) != source)
            Fail("a pasted copy differs from its source");
        // A cut from another document leaves it; its document element stays.
        if (bMove && &from != &to)
            Remove(from, node);
        return true;
    }

    // The announcements of the step say what happened, and only that.
    static void CheckAnnouncements(const Side &side)
    {
        if (static_cast<int>(side.announced.size()) != side.nExpected)
            Fail(std::to_string(side.announced.size()) + " announcements for " +
                 std::to_string(side.nExpected) + " edits");
        for (const CDocumentEdit &edit : side.announced) {
            bool bTrue = true;
            switch (edit.kind) {
            case CDocumentEdit::Kind::Insert:
            case CDocumentEdit::Kind::Move:
                bTrue = edit.node.parentNode() == edit.parent &&
                        edit.node.nextSibling() == edit.reference;
                break;
            case CDocumentEdit::Kind::Remove:
                bTrue = edit.node.parentNode().isNull();
                break;
            case CDocumentEdit::Kind::Replace:
                bTrue = edit.node.parentNode() == edit.parent && edit.oldNode.parentNode().isNull();
                break;
            case CDocumentEdit::Kind::SetRows:
                bTrue = edit.newParts == NodeRowParts(edit.node);
                break;
            }
            if (!bTrue)
                Fail("an announcement says other than what happened");
        }
    }

    static void CheckSide(Side &side, bool bFirst)
    {
        if (!bFirst)
            CheckAnnouncements(side);
        if (std::string rule = BrokenTreeRule(side.document); !rule.empty())
            Fail(rule);
        if (side.context.IsShowingNode() && !IsInDocument(side.context.GetNode(), side.document))
            Fail("the rows shown belong to a node out of the document");
        std::string error;
        const std::string saved = WriteXMLString(side.document, &error);
        if (!error.empty())
            Fail("the document cannot be saved: " + error);
        if (!bFirst && side.nExpected == 0 && saved != side.saved)
            Fail("a step that changed nothing changed the saved bytes");
        dom::Document &again = side.again;
        if (again.loadXML(saved) != S_OK)
            Fail("the saved file does not load: " + again.parseError().reason);
        bool bLayoutDropped = false;
        if (std::string difference =
                FirstDifference(side.document, again, TreeReading::AsReloaded, &bLayoutDropped);
            !difference.empty())
            Fail("the saved file loads to another tree: " + difference + "\nsaved:\n" +
                 saved.substr(0, 2000));
        if (!bLayoutDropped && WriteXMLString(again) != saved)
            Fail("saving the file read back gives other bytes");
        if (!side.snapshot.isNull() && WriteXMLString(side.snapshot) != side.snapshotSaved)
            Fail("an edit reached a snapshot taken before it");
        side.saved = saved;
        side.nExpected = 0;
        side.announced.clear();
    }

    struct Clip {
        int nSide = 0;
        dom::Node node;
        bool bCut = false;
    };

    FuzzedDataProvider &m_input;
    std::array<Side, 2> m_sides;
    Clip m_clip;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QuietMessages();
    StepLog().clear();
    FuzzedDataProvider input(data, size);
    EditRun(input).Run();
    return 0;
}
