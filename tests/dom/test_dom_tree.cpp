// Tree operations of the node store: building, moving, refusing, cloning and attributes.

#include "Document.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <thread>
#include <vector>

using dom::Document;
using dom::Node;

namespace
{

std::vector<std::string> childNames(const Node &parent)
{
    std::vector<std::string> names;
    for (Node c = parent.firstChild(); c; c = c.nextSibling())
        names.emplace_back(c.nodeName());
    return names;
}

// The same list read backwards through lastChild/previousSibling.
std::vector<std::string> childNamesBackwards(const Node &parent)
{
    std::vector<std::string> names;
    for (Node c = parent.lastChild(); c; c = c.previousSibling())
        names.emplace_back(c.nodeName());
    std::reverse(names.begin(), names.end());
    return names;
}

std::vector<std::string> attributeText(const Node &element)
{
    std::vector<std::string> out;
    dom::AttributeMap map = element.attributes();
    for (Node a = map.nextNode(); a; a = map.nextNode())
        out.push_back(std::string(a.nodeName()) + "=" + std::string(a.nodeValue()));
    return out;
}

} // namespace

TEST(DomTree, NodeNamesKindsAndValues)
{
    Document doc = Document::create();
    EXPECT_EQ(doc.nodeName(), "#document");
    EXPECT_EQ(doc.nodeType(), dom::NODE_DOCUMENT);
    EXPECT_FALSE(doc.hasValue());

    const Node text = doc.createTextNode("hello");
    const Node comment = doc.createComment(" c ");
    const Node cdata = doc.createCDATASection("x<y");
    const Node pi = doc.createProcessingInstruction("target", "");
    const Node element = doc.createElement("newElement");
    EXPECT_EQ(text.nodeName(), "#text");
    EXPECT_EQ(comment.nodeName(), "#comment");
    EXPECT_EQ(cdata.nodeName(), "#cdata-section");
    EXPECT_EQ(pi.nodeName(), "target");
    EXPECT_EQ(pi.nodeValue(), "");
    EXPECT_TRUE(pi.hasValue());
    EXPECT_EQ(element.nodeName(), "newElement");
    EXPECT_TRUE(element.parentNode().isNull());
    EXPECT_FALSE(element.hasValue());
    EXPECT_EQ(Node(element).setNodeValue("x"), E_FAIL);

    Node t = text;
    EXPECT_EQ(t.setNodeValue("changed"), S_OK);
    EXPECT_EQ(text.nodeValue(), "changed");
}

TEST(DomTree, AppendInsertRemoveAndMove)
{
    Document doc = Document::create();
    Node root = doc.createElement("root");
    ASSERT_EQ(doc.appendChild(root), S_OK);
    Node a = doc.createElement("a"), b = doc.createElement("b"), c = doc.createElement("c");
    ASSERT_EQ(root.appendChild(a), S_OK);
    ASSERT_EQ(root.appendChild(c), S_OK);
    ASSERT_EQ(root.insertBefore(b, c), S_OK);
    EXPECT_EQ(childNames(root), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(childNamesBackwards(root), childNames(root));

    // Inserting a node that has a parent moves it.
    ASSERT_EQ(root.insertBefore(c, a), S_OK);
    EXPECT_EQ(childNames(root), (std::vector<std::string>{"c", "a", "b"}));
    ASSERT_EQ(a.appendChild(c), S_OK);
    EXPECT_EQ(childNames(root), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(c.parentNode(), a);

    ASSERT_EQ(root.removeChild(b), S_OK);
    EXPECT_TRUE(b.parentNode().isNull());
    EXPECT_EQ(childNamesBackwards(root), (std::vector<std::string>{"a"}));
    // A removed node is still usable and can be put back.
    ASSERT_EQ(root.insertBefore(b, a), S_OK);
    EXPECT_EQ(childNames(root), (std::vector<std::string>{"b", "a"}));

    ASSERT_EQ(root.replaceChild(doc.createElement("z"), b), S_OK);
    EXPECT_EQ(childNames(root), (std::vector<std::string>{"z", "a"}));
}

TEST(DomTree, RefusedOperationsChangeNothing)
{
    Document doc = Document::create();
    Node root = doc.createElement("root");
    Node child = doc.createElement("child");
    Node grandchild = doc.createElement("grandchild");
    doc.appendChild(root);
    root.appendChild(child);
    child.appendChild(grandchild);

    EXPECT_EQ(grandchild.appendChild(root), E_FAIL); // ancestor into descendant
    EXPECT_EQ(child.appendChild(child), E_FAIL);     // into itself
    EXPECT_EQ(doc.appendChild(doc.createElement("second")), E_FAIL);
    EXPECT_EQ(doc.appendChild(doc.createTextNode("loose")), E_FAIL);
    Node text = doc.createTextNode("t");
    EXPECT_EQ(text.appendChild(doc.createElement("x")), E_FAIL);
    EXPECT_EQ(root.appendChild(doc.createAttribute("attr")), E_FAIL);
    EXPECT_EQ(root.removeChild(grandchild), E_FAIL); // not a direct child
    EXPECT_EQ(root.insertBefore(doc.createElement("x"), grandchild), E_FAIL);

    Document other = Document::create();
    EXPECT_EQ(root.appendChild(other.createElement("foreign")), E_FAIL);

    EXPECT_EQ(childNames(doc), (std::vector<std::string>{"root"}));
    EXPECT_EQ(childNames(root), (std::vector<std::string>{"child"}));
    EXPECT_EQ(childNames(child), (std::vector<std::string>{"grandchild"}));

    Node nothing;
    EXPECT_EQ(nothing.appendChild(root), E_POINTER);
    EXPECT_TRUE(nothing.firstChild().isNull());
    EXPECT_EQ(nothing.nodeType(), dom::NODE_INVALID);
}

TEST(DomTree, BadNamesAreRefused)
{
    Document doc = Document::create();
    Node node;
    EXPECT_EQ(doc.createNode(dom::NODE_ELEMENT, "1abc", &node), E_FAIL);
    EXPECT_TRUE(node.isNull());
    EXPECT_EQ(doc.createNode(dom::NODE_ELEMENT, "", &node), E_FAIL);
    EXPECT_EQ(doc.createNode(dom::NODE_PROCESSING_INSTRUCTION, "a b", &node), E_FAIL);
    EXPECT_EQ(doc.createNode(dom::NODE_DOCUMENT, "x", &node), E_INVALIDARG);
    EXPECT_EQ(doc.createNode(dom::NODE_TEXT, "ignored", &node), S_OK);
    EXPECT_EQ(node.nodeName(), "#text");

    Node element = doc.createElement("e");
    EXPECT_EQ(element.setAttribute("ok", "1"), S_OK);
    EXPECT_EQ(element.setAttribute("bad name", "2"), E_FAIL);
    EXPECT_EQ(element.setAttribute("-x", "3"), E_FAIL);
    EXPECT_EQ(attributeText(element), (std::vector<std::string>{"ok=1"}));
}

TEST(DomTree, AttributesKeepTheirOrder)
{
    Document doc = Document::create();
    Node e = doc.createElement("e");
    e.setAttribute("b", "1");
    e.setAttribute("a", "2");
    e.setAttribute("c", "3");
    e.setAttribute("a", "changed"); // keeps its place
    EXPECT_EQ(attributeText(e), (std::vector<std::string>{"b=1", "a=changed", "c=3"}));
    EXPECT_EQ(e.attributes().length(), 3);
    EXPECT_EQ(e.attributes().item(2).nodeName(), "c");
    EXPECT_TRUE(e.attributes().item(3).isNull());

    std::string value;
    EXPECT_EQ(e.getAttribute("a", &value), S_OK);
    EXPECT_EQ(value, "changed");
    EXPECT_EQ(e.getAttribute("zz", &value), S_FALSE);
    EXPECT_EQ(e.removeAttribute("b"), S_OK);
    EXPECT_EQ(attributeText(e), (std::vector<std::string>{"a=changed", "c=3"}));

    // An attribute owned by one element cannot be given to another; a detached one can,
    // replacing a namesake in place.
    Node other = doc.createElement("other");
    EXPECT_EQ(other.setAttributeNode(e.attributes().item(0)), E_FAIL);
    Node fresh = doc.createAttribute("a");
    fresh.setNodeValue("fresh");
    EXPECT_EQ(e.setAttributeNode(fresh), S_OK);
    EXPECT_EQ(attributeText(e), (std::vector<std::string>{"a=fresh", "c=3"}));
    EXPECT_EQ(fresh.ownerElement(), e);
    EXPECT_TRUE(fresh.parentNode().isNull());
    EXPECT_EQ(e.removeAttributeNode(fresh), S_OK);
    EXPECT_EQ(attributeText(e), (std::vector<std::string>{"c=3"}));

    EXPECT_TRUE(doc.createTextNode("t").attributes().isNull());
}

// The loader gives namespace declarations first whatever the file's order; a declaration added
// after other attributes would be saved after them and read back before them.
TEST(DomTree, NamespaceDeclarationsLeadTheAttributes)
{
    Document doc = Document::create();
    Node e = doc.createElement("e");
    e.setAttribute("a", "1");
    e.setAttribute("xmlns:p", "urn:p");
    e.setAttribute("b", "2");
    e.setAttribute("xmlns", "");
    e.setAttribute("xmlnsx", "an attribute"); // no declaration: last
    EXPECT_EQ(attributeText(e), (std::vector<std::string>{"xmlns:p=urn:p", "xmlns=", "a=1", "b=2",
                                                          "xmlnsx=an attribute"}));
    e.setAttribute("xmlns:p", "urn:q"); // keeps its place
    Node declaration = doc.createAttribute("xmlns:r");
    declaration.setNodeValue("urn:r");
    EXPECT_EQ(e.setAttributeNode(declaration), S_OK);
    EXPECT_EQ(attributeText(e),
              (std::vector<std::string>{"xmlns:p=urn:q", "xmlns=", "xmlns:r=urn:r", "a=1", "b=2",
                                        "xmlnsx=an attribute"}));
}

TEST(DomTree, DeepCloneIsIndependent)
{
    Document doc = Document::create();
    Node root = doc.createElement("root");
    doc.appendChild(root);
    Node item = doc.createElement("item");
    item.setAttribute("x", "1");
    item.setAttribute("y", "2");
    root.appendChild(item);
    item.appendChild(doc.createTextNode("text"));
    Node inner = doc.createElement("inner");
    item.appendChild(inner);
    inner.appendChild(doc.createComment("c"));

    Node copy = item.cloneNode(true);
    ASSERT_FALSE(copy.isNull());
    EXPECT_TRUE(copy.parentNode().isNull());
    EXPECT_EQ(attributeText(copy), (std::vector<std::string>{"x=1", "y=2"}));
    EXPECT_EQ(childNames(copy), (std::vector<std::string>{"#text", "inner"}));
    EXPECT_EQ(childNames(copy.lastChild()), (std::vector<std::string>{"#comment"}));

    copy.setAttribute("x", "changed");
    copy.firstChild().setNodeValue("changed");
    EXPECT_EQ(attributeText(item), (std::vector<std::string>{"x=1", "y=2"}));
    EXPECT_EQ(item.firstChild().nodeValue(), "text");

    Node shallow = item.cloneNode(false);
    EXPECT_FALSE(shallow.hasChildNodes());
    EXPECT_EQ(attributeText(shallow), (std::vector<std::string>{"x=1", "y=2"}));
}

// A copy taken into another document owns its names and values: it outlives its source and
// can be linked where the source's own nodes are refused.
TEST(DomTree, ImportCopiesASubtreeIntoAnotherDocument)
{
    Document target = Document::create();
    target.loadXML("<shelf/>");
    Node imported;
    {
        Document source = Document::create();
        source.loadXML("<r><book id=\"7\" lang=\"en\">text<!--note--><part><![CDATA[x]]></part>"
                       "<?pi data?></book></r>");
        const Node book = source.documentElement().firstChild();
        EXPECT_EQ(target.documentElement().appendChild(book), E_FAIL);
        EXPECT_TRUE(target.importNode(source, true).isNull());
        EXPECT_TRUE(target.importNode(Node(), true).isNull());
        imported = target.importNode(book, true);
        ASSERT_FALSE(imported.isNull());
        EXPECT_FALSE(target.importNode(book, false).hasChildNodes());
    }
    EXPECT_TRUE(imported.parentNode().isNull());
    ASSERT_EQ(target.documentElement().appendChild(imported), S_OK);
    EXPECT_EQ(imported.nodeName(), "book");
    EXPECT_EQ(attributeText(imported), (std::vector<std::string>{"id=7", "lang=en"}));
    EXPECT_EQ(childNames(imported), (std::vector<std::string>{"#text", "#comment", "part", "pi"}));
    EXPECT_EQ(imported.firstChild().nodeValue(), "text");
    EXPECT_EQ(imported.lastChild().nodeValue(), "data");
    EXPECT_EQ(childNames(imported.firstChild().nextSibling().nextSibling()),
              (std::vector<std::string>{"#cdata-section"}));
    EXPECT_TRUE(imported.view().mayHaveTextChild());

    // Within one document an import is a clone.
    Node again = target.importNode(imported, true);
    EXPECT_EQ(childNames(again), childNames(imported));
    again.firstChild().setNodeValue("changed");
    EXPECT_EQ(imported.firstChild().nodeValue(), "text");
}

TEST(DomTree, HandlesKeepTheDocumentAlive)
{
    Node orphan;
    {
        Document doc = Document::create();
        Node root = doc.createElement("root");
        doc.appendChild(root);
        root.appendChild(doc.createTextNode("still here"));
        orphan = root.firstChild();
        root.removeChild(orphan);
    }
    EXPECT_EQ(orphan.nodeValue(), "still here");
    EXPECT_EQ(orphan.ownerDocument().nodeName(), "#document");
}

// Random moves compared with a simple model: catches broken sibling links, which would show
// as wrong orders, lost nodes or lists that read differently backwards.
TEST(DomTree, RandomMovesMatchAModel)
{
    Document doc = Document::create();
    Node root = doc.createElement("root");
    doc.appendChild(root);
    std::vector<Node> parents{root, doc.createElement("p1"), doc.createElement("p2")};
    root.appendChild(parents[1]);
    root.appendChild(parents[2]);
    std::vector<std::vector<std::string>> model{{"p1", "p2"}, {}, {}};
    std::vector<Node> leaves;
    for (int i = 0; i < 12; ++i)
        leaves.push_back(doc.createElement("n" + std::to_string(i)));

    auto find = [&](const std::string &name, int &owner) {
        for (owner = 0; owner < 3; ++owner) {
            auto at = std::find(model[owner].begin(), model[owner].end(), name);
            if (at != model[owner].end())
                return at;
        }
        return model[0].end();
    };

    std::mt19937 random(7);
    for (int step = 0; step < 2000; ++step) {
        Node leaf = leaves[random() % leaves.size()];
        const std::string name(leaf.nodeName());
        const int target = static_cast<int>(random() % 3);
        int owner = -1;
        auto at = find(name, owner);
        const bool remove = random() % 5 == 0;
        if (remove) {
            if (owner < 3) {
                ASSERT_EQ(parents[owner].removeChild(leaf), S_OK);
                model[owner].erase(at);
            }
        } else {
            std::vector<std::string> &list = model[target];
            const std::size_t position = list.empty() ? 0 : random() % (list.size() + 1);
            Node reference;
            if (position < list.size()) {
                reference = parents[target].firstChild();
                for (std::size_t k = 0; k < position; ++k)
                    reference = reference.nextSibling();
            }
            if (reference == leaf)
                continue;
            ASSERT_EQ(parents[target].insertBefore(leaf, reference), S_OK);
            const std::string referenceName(reference.nodeName());
            if (owner < 3)
                model[owner].erase(find(name, owner));
            auto where = reference.isNull() ? list.end()
                                            : std::find(list.begin(), list.end(), referenceName);
            list.insert(where, name);
        }
        for (int p = 0; p < 3; ++p) {
            ASSERT_EQ(childNames(parents[p]), model[p]) << "step " << step << " parent " << p;
            ASSERT_EQ(childNamesBackwards(parents[p]), model[p]) << "step " << step;
        }
    }
}

TEST(DomTree, ViewsWalkLikeHandles)
{
    Document doc = Document::create();
    doc.loadXML("<r a=\"1\" b=\"2\"><x>t</x><!--c--><y/></r>");
    const Node r = doc.documentElement();
    const dom::NodeView view = r.view();
    EXPECT_EQ(view.nodeName(), "r");
    EXPECT_EQ(view.parentNode().nodeType(), dom::NODE_DOCUMENT);
    std::vector<std::string> names;
    for (dom::NodeView c = view.firstChild(); c; c = c.nextSibling())
        names.emplace_back(c.nodeName());
    EXPECT_EQ(names, childNames(r));
    const dom::NodeView a = view.firstAttribute();
    EXPECT_EQ(a.nodeValue(), "1");
    EXPECT_EQ(a.nextAttribute().nodeName(), "b");
    EXPECT_TRUE(a.nextAttribute().nextAttribute().isNull());
    EXPECT_TRUE(a.parentNode().isNull());
    EXPECT_EQ(view.firstChild().node(doc), r.firstChild());
    EXPECT_TRUE(view.node(Document::create()).isNull()); // a handle of another document
    EXPECT_TRUE(dom::NodeView().firstChild().isNull());
}

// The writer trusts a clear "may have text" mark to skip looking for text children, so the
// mark must follow every way text reaches an element.
TEST(DomTree, TextMarkFollowsEveryWayTextArrives)
{
    Document doc = Document::create();
    doc.loadXML("<r><leaf>t</leaf><box><a/></box></r>");
    const Node r = doc.documentElement();
    EXPECT_FALSE(r.view().mayHaveTextChild());
    EXPECT_TRUE(r.firstChild().view().mayHaveTextChild());
    Node box = r.lastChild();
    EXPECT_FALSE(box.view().mayHaveTextChild());

    Node empty = doc.createTextNode("");
    box.appendChild(empty);
    EXPECT_FALSE(box.view().mayHaveTextChild()); // an empty text writes nothing
    empty.setNodeValue("now text");
    EXPECT_TRUE(box.view().mayHaveTextChild());

    Node other = doc.createElement("other");
    Node filled = doc.createTextNode("x");
    other.insertBefore(filled, Node());
    EXPECT_TRUE(other.view().mayHaveTextChild());
    EXPECT_TRUE(r.firstChild().cloneNode(true).view().mayHaveTextChild());
    EXPECT_FALSE(r.lastChild().cloneNode(false).view().mayHaveTextChild());
}

namespace
{

// Every node under `node` in document order: kind, name, value and attributes, one line each.
std::string fingerprint(const Node &node)
{
    std::string text;
    std::vector<dom::NodeView> pending{node.view()};
    while (!pending.empty()) {
        const dom::NodeView view = pending.back();
        pending.pop_back();
        text += std::to_string(view.nodeType()) + ' ' + std::string(view.nodeName()) + '=' +
                std::string(view.nodeValue());
        for (dom::NodeView a = view.firstAttribute(); a; a = a.nextAttribute())
            text += ' ' + std::string(a.nodeName()) + '=' + std::string(a.nodeValue());
        text += '\n';
        std::vector<dom::NodeView> children;
        for (dom::NodeView c = view.firstChild(); c; c = c.nextSibling())
            children.push_back(c);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    return text;
}

// A document of more nodes than one page of the store holds.
Document pagesOfRecords()
{
    Document doc = Document::create();
    Node root = doc.createElement("records");
    doc.appendChild(root);
    for (int i = 0; i < 30000; ++i) {
        Node record = doc.createElement("r");
        record.setAttribute("id", std::to_string(i));
        record.appendChild(doc.createTextNode("value " + std::to_string(i)));
        root.appendChild(record);
    }
    return doc;
}

// Changes on the first page, the last and in between.
void editEverywhere(Document &doc)
{
    Node root = doc.documentElement();
    root.setAttribute("edited", "yes");
    root.removeChild(root.firstChild());
    Node middle = root.firstChild();
    for (int i = 0; i < 15000; ++i)
        middle = middle.nextSibling();
    middle.setAttribute("id", "changed");
    middle.firstChild().setNodeValue("changed");
    root.insertBefore(doc.createElement("inserted"), middle);
    root.appendChild(root.firstChild());
}

} // namespace

TEST(DomSnapshot, ASnapshotStaysAsTheDocumentWasWhileEitherIsEdited)
{
    Document doc = pagesOfRecords();
    const std::string before = fingerprint(doc);
    Document snapshot = doc.snapshot();
    EXPECT_EQ(snapshot.nodeCount(), doc.nodeCount());
    EXPECT_EQ(fingerprint(snapshot), before);
    editEverywhere(doc);
    const std::string after = fingerprint(doc);
    EXPECT_NE(after, before);
    EXPECT_EQ(fingerprint(snapshot), before);
    // Handles of the document do not reach into the snapshot, nor its changes into the document.
    EXPECT_FALSE(snapshot.documentElement() == doc.documentElement());
    editEverywhere(snapshot);
    EXPECT_EQ(fingerprint(doc), after);
    EXPECT_EQ(fingerprint(snapshot), after);
    // A second snapshot, and the document's nodes made after it.
    Document second = doc.snapshot();
    doc.documentElement().appendChild(doc.createCDATASection("new"));
    EXPECT_EQ(fingerprint(second), after);
    EXPECT_EQ(Document().snapshot().isNull(), true);
}

TEST(DomSnapshot, AnotherThreadReadsTheSnapshotWhileTheDocumentChanges)
{
    Document doc = pagesOfRecords();
    const std::string before = fingerprint(doc);
    for (int round = 0; round < 3; ++round) {
        Document snapshot = doc.snapshot();
        std::string read;
        std::thread reader([&read, snapshot = std::move(snapshot)]() mutable {
            read = fingerprint(snapshot);
            snapshot = Document(); // dropped on this thread, pages shared or not
        });
        if (round == 0)
            editEverywhere(doc);
        reader.join();
        EXPECT_EQ(read, round == 0 ? before : fingerprint(doc));
    }
}

// Values of 65,535 bytes and more keep their length beside their text rather than in the node:
// each way a value arrives (set, loaded by either parser, cloned, imported, snapshotted) must
// give back every byte on both sides of that line.
TEST(DomTree, ValuesOnBothSidesOfTheLongValueLineAreKeptWhole)
{
    for (const std::size_t length : {65534u, 65535u, 65536u, 300001u}) {
        std::string text(length, ' ');
        for (std::size_t i = 0; i < length; ++i)
            text[i] = static_cast<char>('a' + (i * 7 + length) % 26);
        const std::string attr = text.substr(1) + "!";
        SCOPED_TRACE(length);

        Document doc = Document::create();
        Node root = doc.createElement("root");
        doc.appendChild(root);
        root.setAttribute("a", attr);
        root.appendChild(doc.createTextNode(text));
        root.appendChild(doc.createComment("short"));
        const auto check = [&](const Node &element) {
            std::string value;
            ASSERT_EQ(element.getAttribute("a", &value), S_OK);
            EXPECT_EQ(value, attr);
            EXPECT_EQ(element.firstChild().nodeValue(), text);
            EXPECT_EQ(element.lastChild().nodeValue(), "short");
        };
        check(root);
        check(root.cloneNode(true));
        Document other = Document::create();
        check(other.importNode(root, true));
        Document snapshot = doc.snapshot();
        root.firstChild().setNodeValue("now short");
        check(snapshot.documentElement());
        EXPECT_EQ(root.firstChild().nodeValue(), "now short");

        const std::string xml = "<root a=\"" + attr + "\">" + text + "<!--short--></root>";
        for (const std::string &source : {xml, "<!DOCTYPE root>" + xml}) {
            Document loaded = Document::create();
            ASSERT_EQ(loaded.loadXML(source), S_OK) << loaded.parseError().reason;
            check(loaded.documentElement());
        }
    }
}
