#include "FuzzSupport.h"

#include "MessageBox.h"
#include "XmlName.h"
#include "XmlRules.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <set>
#include <vector>

void QuietMessages()
{
    static const bool quiet = [] {
        SetMessageBoxHandler([](const QString &) {});
        return true;
    }();
    (void)quiet;
}

QString FuzzedText(FuzzedDataProvider &input)
{
    // Short strings from a small alphabet find the XML rules quickly; raw bytes find the rest.
    if (input.ConsumeBool()) {
        static const char *const kPieces[] = {
            "a",       "xml", "XmL",   "-",  "--",        "?>",
            "]]>",     " ",   "\r",    "\n", "\x01",      "version=\"1.0\"",
            "=",       "\"",  ":",     "1",  "\xC3\xA9",  "\xEF\xBF\xBF",
            "<",       "&",   "xmlns", "p",  "xml:space", "preserve",
            "default", "\t",  "urn:x", "b"};
        std::string text;
        for (int n = input.ConsumeIntegralInRange(0, 4); n > 0; --n)
            text += kPieces[input.ConsumeIntegralInRange<std::size_t>(0, std::size(kPieces) - 1)];
        return QString::fromUtf8(text);
    }
    return QString::fromUtf8(input.ConsumeRandomLengthString(24));
}

dom::NodeType FuzzedRowKind(FuzzedDataProvider &input)
{
    static constexpr dom::NodeType kKinds[] = {dom::NODE_ATTRIBUTE, dom::NODE_TEXT,
                                               dom::NODE_CDATA_SECTION,
                                               dom::NODE_PROCESSING_INSTRUCTION, dom::NODE_COMMENT};
    return kKinds[input.ConsumeIntegralInRange<std::size_t>(0, std::size(kKinds) - 1)];
}

namespace
{

// One child as a tree reads it: a node, or what a reload makes of one or more (a run of
// neighbouring texts read as one text, a piece of a CDATA section written as several).
struct Child {
    dom::NodeView node;
    std::string text;
    bool bAsRead = false; // the value is `text`

    std::string_view value() const { return bAsRead ? std::string_view(text) : node.nodeValue(); }
    bool IsTextRun() const { return bAsRead && node.nodeType() == dom::NODE_TEXT; }
};

// The sections the writer splits a CDATA value into: "]]>" cannot stand in one, so each
// section ends after the "]]" and the next begins with the ">".
std::vector<std::string> CdataSections(std::string_view value)
{
    std::vector<std::string> sections;
    std::size_t start = 0;
    for (std::size_t end = value.find("]]>"); end != std::string_view::npos;
         end = value.find("]]>", start)) {
        sections.emplace_back(value.substr(start, end + 2 - start));
        start = end + 2;
    }
    sections.emplace_back(value.substr(start));
    return sections;
}

// Whether white space inside `node` is content, as the loader decides it.
bool PreservesSpace(dom::NodeView node, bool inherited)
{
    for (dom::NodeView a = node.firstAttribute(); a; a = a.nextAttribute()) {
        if (a.nodeName() == "xml:space" && a.nodeValue() == "preserve")
            return true;
        if (a.nodeName() == "xml:space" && a.nodeValue() == "default")
            return false;
    }
    return inherited;
}

std::vector<Child> ChildrenOf(dom::NodeView parent, TreeReading reading, bool preserve,
                              bool *pLayoutDropped)
{
    std::vector<Child> children;
    for (dom::NodeView child = parent.firstChild(); child; child = child.nextSibling()) {
        if (reading == TreeReading::Exact) {
            children.push_back({child, {}, false});
        } else if (child.nodeType() == dom::NODE_CDATA_SECTION) {
            for (std::string &section : CdataSections(child.nodeValue()))
                children.push_back({child, std::move(section), true});
        } else if (child.nodeType() != dom::NODE_TEXT) {
            children.push_back({child, {}, false});
        } else if (!children.empty() && children.back().IsTextRun()) {
            children.back().text += child.nodeValue();
        } else {
            children.push_back({child, std::string(child.nodeValue()), true});
        }
    }
    if (reading == TreeReading::AsReloaded && !preserve) {
        const std::size_t before = children.size();
        std::erase_if(children, [](const Child &child) {
            return child.IsTextRun() && dom::IsXmlWhiteSpace(child.text);
        });
        if (pLayoutDropped != nullptr && children.size() != before)
            *pLayoutDropped = true;
    }
    return children;
}

// What differs between two nodes themselves (not their children), or "".
std::string NodeDifference(const Child &x, const Child &y)
{
    const dom::NodeView a = x.node;
    const dom::NodeView b = y.node;
    // The declaration is written saying UTF-8 whatever encoding it named: only its version
    // must come through.
    const bool declaration = a.nodeType() == dom::NODE_PROCESSING_INSTRUCTION &&
                             a.nodeName() == "xml" &&
                             a.parentNode().nodeType() == dom::NODE_DOCUMENT;
    const auto version = [](std::string_view data) { return data.substr(0, data.find(' ')); };
    if (a.nodeType() != b.nodeType() || a.nodeName() != b.nodeName() ||
        (declaration ? version(x.value()) != version(y.value()) : x.value() != y.value()))
        return "node '" + std::string(a.nodeName()) + "' became '" + std::string(b.nodeName()) +
               "' (kind " + std::to_string(a.nodeType()) + " to " + std::to_string(b.nodeType()) +
               ")";
    dom::NodeView aa = a.firstAttribute();
    dom::NodeView ba = b.firstAttribute();
    for (; aa && ba; aa = aa.nextAttribute(), ba = ba.nextAttribute()) {
        if (aa.nodeName() != ba.nodeName() || aa.nodeValue() != ba.nodeValue())
            return "attribute '" + std::string(aa.nodeName()) + "' of '" +
                   std::string(a.nodeName()) + "' changed";
    }
    if (aa.isNull() != ba.isNull())
        return "attribute count of '" + std::string(a.nodeName()) + "' changed";
    return {};
}

} // namespace

std::string FirstDifference(const dom::Node &a, const dom::Node &b, TreeReading reading,
                            bool *pLayoutDropped)
{
    struct Pending {
        Child x;
        Child y;
        bool preserve;
    };
    // An explicit stack: fuzzed documents nest deeper than the call stack allows.
    std::vector<Pending> pending{{{a.view(), {}, false}, {b.view(), {}, false}, false}};
    while (!pending.empty()) {
        const Pending top = pending.back();
        pending.pop_back();
        if (std::string difference = NodeDifference(top.x, top.y); !difference.empty())
            return difference;
        if (top.x.bAsRead)
            continue;
        const bool preserve = PreservesSpace(top.x.node, top.preserve);
        const std::vector<Child> xs = ChildrenOf(top.x.node, reading, preserve, pLayoutDropped);
        const std::vector<Child> ys =
            ChildrenOf(top.y.node, TreeReading::Exact, preserve, pLayoutDropped);
        for (std::size_t i = 0; i < std::max(xs.size(), ys.size()); ++i) {
            if (i >= xs.size() || i >= ys.size()) {
                const Child &extra = i < xs.size() ? xs[i] : ys[i];
                return "under '" + std::string(top.x.node.nodeName()) + "' one side has '" +
                       std::string(extra.node.nodeName()) + "' the other lacks";
            }
            pending.push_back({xs[i], ys[i], preserve});
        }
    }
    return {};
}

namespace
{

std::string AttributeListRule(const dom::Node &node)
{
    dom::AttributeMap map = node.attributes();
    if (node.nodeType() != dom::NODE_ELEMENT)
        return map.length() == 0 ? std::string() : "a node that is no element has attributes";
    std::set<std::string_view> names;
    long index = 0;
    for (dom::NodeView a = node.view().firstAttribute(); a; a = a.nextAttribute(), ++index) {
        const dom::Node attribute = a.node(node);
        if (!(map.item(index) == attribute))
            return "attribute " + std::to_string(index) + " of '" + std::string(node.nodeName()) +
                   "' differs by index and by neighbour";
        if (attribute.nodeType() != dom::NODE_ATTRIBUTE || !(attribute.ownerElement() == node) ||
            !attribute.parentNode().isNull() || attribute.hasChildNodes())
            return "attribute '" + std::string(a.nodeName()) + "' is linked wrongly";
        if (!names.insert(a.nodeName()).second)
            return "attribute '" + std::string(a.nodeName()) + "' twice on '" +
                   std::string(node.nodeName()) + "'";
    }
    return map.length() == index ? std::string() : "attribute count differs";
}

std::string ChildKindRule(const dom::Node &parent, const dom::Node &child, int *pElements)
{
    const dom::NodeType kind = child.nodeType();
    if (kind == dom::NODE_ATTRIBUTE || kind == dom::NODE_DOCUMENT || kind == dom::NODE_INVALID)
        return "a node of kind " + std::to_string(kind) + " is a child";
    switch (parent.nodeType()) {
    case dom::NODE_DOCUMENT:
        if (kind == dom::NODE_TEXT || kind == dom::NODE_CDATA_SECTION)
            return "the document holds text";
        if (kind == dom::NODE_ELEMENT && ++*pElements > 1)
            return "the document holds two elements";
        return {};
    case dom::NODE_ELEMENT:
        return kind == dom::NODE_DOCUMENT_TYPE ? "an element holds a document type" : "";
    default:
        return "a node of kind " + std::to_string(parent.nodeType()) + " has children";
    }
}

} // namespace

std::string BrokenTreeRule(const dom::Document &document)
{
    if (!document.parentNode().isNull())
        return "the document has a parent";
    std::vector<dom::Node> pending{document};
    std::size_t reached = 0;
    while (!pending.empty()) {
        const dom::Node node = pending.back();
        pending.pop_back();
        // A node reached twice has two parents, which the links below cannot both name, or
        // lies on a loop, which reaches more nodes than the document ever made.
        if (++reached > document.nodeCount() + 1)
            return "a node is reachable twice";
        if (std::string rule = AttributeListRule(node); !rule.empty())
            return rule;
        dom::Node previous;
        int nElements = 0;
        for (dom::Node child = node.firstChild(); child; child = child.nextSibling()) {
            if (!(child.parentNode() == node) || !(child.previousSibling() == previous))
                return "a child of '" + std::string(node.nodeName()) + "' is linked wrongly";
            if (std::string rule = ChildKindRule(node, child, &nElements); !rule.empty())
                return rule;
            if (!(child.ownerDocument() == document))
                return "a child belongs to another document";
            pending.push_back(child);
            previous = child;
        }
        if (!(node.lastChild() == previous))
            return "the last child of '" + std::string(node.nodeName()) + "' is another";
    }
    return {};
}

void Finding(const std::string &what)
{
    std::fprintf(stderr, "FINDING: %s\n", what.c_str());
    std::abort();
}

std::string ReadBackData(dom::NodeType kind, const std::string &name, std::string value)
{
    if (kind != dom::NODE_PROCESSING_INSTRUCTION)
        return value;
    value.erase(0, std::min(value.find_first_not_of(" \t\r\n"), value.size()));
    if (IsReservedPiTarget(name))
        value.erase(value.find_last_not_of(" \t\r\n") + 1);
    return value;
}
