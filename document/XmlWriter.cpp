#include "XmlWriter.h"

#include "XmlName.h"
#include "XmlRules.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <vector>

namespace
{

constexpr std::string_view kLineEnd = "\r\n";

// How a value is written: text and attribute values escape markup; comments, PI data and CDATA
// sections hold their characters as they are. The file is a text stream: a line feed in a value
// is written as CR LF like every other line end (the parser reads it back as LF), except in
// attributes, whose values the parser would normalise to a blank.
enum Context { kText, kAttribute, kMarkup, kContextCount };

// Bytes that need a look in each context: characters to escape, control characters, and every
// byte of a multi-byte character (its UTF-8 is checked). Everything else is copied in runs.
constexpr std::array<std::array<bool, 256>, kContextCount> kStops = [] {
    std::array<std::array<bool, 256>, kContextCount> tables{};
    for (auto &table : tables) {
        for (int c = 0; c < 0x20; ++c)
            table[c] = c != '\t';
        for (int c = 0x80; c < 0x100; ++c)
            table[c] = true;
    }
    for (const unsigned char c : {'&', '<', '>'})
        tables[kText][c] = true;
    for (const unsigned char c : {'&', '<', '"', '\t'})
        tables[kAttribute][c] = true;
    return tables;
}();

// The replacement of a byte that stops the scan in `context`; empty for a byte that cannot be
// written there. A CR would read back as a line end: in markup nothing can keep it.
std::string_view escapeOf(char c, Context context)
{
    switch (c) {
    case '&':
        return "&amp;";
    case '<':
        return "&lt;";
    case '>':
        return "&gt;";
    case '"':
        return "&quot;";
    case '\t':
        return "&#9;";
    case '\n':
        return context == kAttribute ? "&#10;" : kLineEnd;
    case '\r':
        return context == kMarkup ? std::string_view() : "&#13;";
    default:
        return {};
    }
}

// Writes `text` as `context` asks. Returns the first byte it cannot write (a character XML
// cannot hold), or nullptr when everything was written.
const char *putValue(std::string_view text, XmlSink &sink, Context context)
{
    const std::array<bool, 256> &stops = kStops[context];
    const auto stopsHere = [&stops](char c) { return stops[static_cast<unsigned char>(c)]; };
    const char *const end = text.data() + text.size();
    const char *start = text.data();
    for (const char *p = std::find_if(start, end, stopsHere); p != end;
         p = std::find_if(p, end, stopsHere)) {
        if (static_cast<unsigned char>(*p) >= 0x80) {
            const std::size_t length =
                XmlCharLength(std::string_view(p, static_cast<std::size_t>(end - p)));
            if (length == 0)
                return p;
            p += length;
            continue;
        }
        const std::string_view replacement = escapeOf(*p, context);
        if (replacement.empty())
            return p;
        sink.put(std::string_view(start, static_cast<std::size_t>(p - start)));
        sink.put(replacement);
        start = ++p;
    }
    sink.put(std::string_view(start, static_cast<std::size_t>(end - start)));
    return nullptr;
}

// One step of a node's path, XPath-like: its name or node test, with its position among the
// siblings the same step matches when there are several.
std::string stepOf(const dom::Node &node)
{
    const dom::NodeType kind = node.nodeType();
    const auto isText = [](dom::NodeType k) {
        return k == dom::NODE_TEXT || k == dom::NODE_CDATA_SECTION;
    };
    const auto matches = [&](const dom::Node &other) {
        switch (kind) {
        case dom::NODE_ELEMENT:
        case dom::NODE_PROCESSING_INSTRUCTION:
            return other.nodeType() == kind && other.nodeName() == node.nodeName();
        case dom::NODE_TEXT:
        case dom::NODE_CDATA_SECTION:
            return isText(other.nodeType());
        case dom::NODE_COMMENT:
            return other.nodeType() == kind;
        default:
            return true;
        }
    };
    std::string step;
    switch (kind) {
    case dom::NODE_ELEMENT:
        step = node.nodeName();
        break;
    case dom::NODE_PROCESSING_INSTRUCTION:
        step = "processing-instruction('" + std::string(node.nodeName()) + "')";
        break;
    case dom::NODE_COMMENT:
        step = "comment()";
        break;
    default:
        step = isText(kind) ? "text()" : "node()";
        break;
    }
    std::size_t position = 1;
    for (dom::Node n = node.previousSibling(); n; n = n.previousSibling())
        position += matches(n) ? 1 : 0;
    bool more = position > 1;
    for (dom::Node n = node.nextSibling(); n && !more; n = n.nextSibling())
        more = matches(n);
    if (more)
        step += "[" + std::to_string(position) + "]";
    return step;
}

// Where `node` stands, for messages: /catalog/record[5]/comment()[1].
std::string pathOf(const dom::Node &node)
{
    std::vector<std::string> steps;
    for (dom::Node n = node; n && n.nodeType() != dom::NODE_DOCUMENT; n = n.parentNode())
        steps.push_back(stepOf(n));
    if (steps.empty())
        return "/";
    std::string path;
    for (auto step = steps.rbegin(); step != steps.rend(); ++step)
        path += "/" + *step;
    return path;
}

// Why a node cannot be written, and the attribute it concerns when it is one.
struct Refusal {
    std::string reason;
    std::string_view attribute;
};
using Outcome = std::optional<Refusal>;

// Writes `value` in `context`; the refusal names the character it cannot write.
Outcome putChecked(std::string_view value, XmlSink &sink, Context context)
{
    const char *bad = putValue(value, sink, context);
    if (bad == nullptr)
        return std::nullopt;
    if (*bad == '\r')
        return Refusal{"a carriage return cannot be kept here: XML reads it back as a line end",
                       {}};
    return Refusal{XmlCharRefusal(value.substr(static_cast<std::size_t>(bad - value.data()))), {}};
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// The file is written in UTF-8 whatever encoding the source declared.
std::string utf8Declaration(std::string_view data)
{
    const std::size_t key = data.find("encoding");
    if (key == std::string_view::npos)
        return std::string(data);
    std::size_t pos = key + 8;
    while (pos < data.size() && (data[pos] == ' ' || data[pos] == '\t' || data[pos] == '=' ||
                                 data[pos] == '\r' || data[pos] == '\n'))
        ++pos;
    if (pos >= data.size() || (data[pos] != '"' && data[pos] != '\''))
        return std::string(data);
    const std::size_t close = data.find(data[pos], pos + 1);
    if (close == std::string_view::npos)
        return std::string(data);
    const std::string_view value = data.substr(pos + 1, close - pos - 1);
    if (equalsNoCase(value, "UTF-8") || equalsNoCase(value, "UTF8"))
        return std::string(data);
    return std::string(data.substr(0, pos + 1)) + "UTF-8" + std::string(data.substr(close));
}

// A node at depth d is indented by d - 1 tabs, but never by more than this: indentation that
// kept growing would make a file nested 100,000 levels deep take gigabytes (a tab per level on
// every line). Deeper levels line up at this depth; what the file holds is unchanged.
constexpr int kMaxIndentTabs = 255;

void putIndent(XmlSink &sink, int depth)
{
    static const std::string tabs(kMaxIndentTabs, '\t');
    if (depth > 1)
        sink.put(std::string_view(tabs).substr(0, std::min(depth - 1, kMaxIndentTabs)));
}

// True when `element` holds text: a non-empty text or any CDATA section (every other reader
// takes its content as text too). Its content is then written inline.
bool hasTextChild(dom::NodeView element)
{
    if (!element.mayHaveTextChild())
        return false;
    for (dom::NodeView child = element.firstChild(); child; child = child.nextSibling()) {
        const dom::NodeType kind = child.nodeType();
        if (kind == dom::NODE_CDATA_SECTION ||
            (kind == dom::NODE_TEXT && !child.nodeValue().empty()))
            return true;
    }
    return false;
}

// Whether white space inside `element` is content: xml:space="preserve" says so for it and its
// descendants until a "default" says otherwise. Indentation written there would read back as
// text, so its content is written inline.
bool preservesSpace(dom::NodeView element, bool inherited)
{
    if (element.nodeType() != dom::NODE_ELEMENT)
        return inherited;
    for (dom::NodeView a = element.firstAttribute(); a; a = a.nextAttribute()) {
        if (a.nodeName() == "xml:space") {
            if (a.nodeValue() == "preserve")
                return true;
            if (a.nodeValue() == "default")
                return false;
        }
    }
    return inherited;
}

Outcome writeElementStart(dom::NodeView node, XmlSink &sink, int depth, bool inlined)
{
    if (!inlined)
        putIndent(sink, depth);
    sink.put('<');
    sink.put(node.nodeName());
    for (dom::NodeView a = node.firstAttribute(); a; a = a.nextAttribute()) {
        if (std::optional<std::string> reason =
                CheckNamespaceDeclaration(a.nodeName(), a.nodeValue()))
            return Refusal{std::move(*reason), a.nodeName()};
        sink.put(' ');
        sink.put(a.nodeName());
        sink.put("=\"");
        if (Outcome refused = putChecked(a.nodeValue(), sink, kAttribute)) {
            refused->attribute = a.nodeName();
            return refused;
        }
        sink.put('"');
    }
    sink.put('>');
    return std::nullopt;
}

// "]]>" cannot stand inside a section: it is split over two. A CR cannot be kept at all: inside
// a section it reads back as a line end, and outside, as a reference between sections, it would
// be a text of white space only, which loading drops.
Outcome writeCdata(std::string_view value, XmlSink &sink, int depth, bool inlined)
{
    if (!inlined)
        putIndent(sink, depth);
    sink.put("<![CDATA[");
    std::size_t start = 0;
    for (std::size_t end = value.find("]]>"); end != std::string_view::npos;
         end = value.find("]]>", start)) {
        if (Outcome refused = putChecked(value.substr(start, end + 2 - start), sink, kMarkup))
            return refused;
        sink.put("]]><![CDATA[");
        start = end + 2;
    }
    if (Outcome refused = putChecked(value.substr(start), sink, kMarkup))
        return refused;
    sink.put("]]>");
    return std::nullopt;
}

// `leading`: the node is the first child of the document, the only place for a declaration.
Outcome writePi(dom::NodeView node, XmlSink &sink, int depth, bool inlined, bool leading)
{
    const std::string_view target = node.nodeName();
    const std::string_view value = node.nodeValue();
    if (std::optional<std::string> reason = CheckPiData(value))
        return Refusal{std::move(*reason), {}};
    const bool declaration = leading && target == "xml";
    if (IsReservedPiTarget(target) && !declaration)
        return Refusal{"the name \"" + std::string(target) +
                           "\" is kept for the XML declaration at the start of the document",
                       {}};
    if (declaration) {
        if (std::optional<std::string> reason = CheckXmlDeclaration(value))
            return Refusal{std::move(*reason), {}};
    }
    if (!inlined)
        putIndent(sink, depth);
    sink.put("<?");
    sink.put(target);
    sink.put(' ');
    if (Outcome refused = putChecked(declaration ? std::string_view(utf8Declaration(value)) : value,
                                     sink, kMarkup))
        return refused;
    sink.put("?>");
    return std::nullopt;
}

// The declaration as it was read, internal subset included. A document type without its text
// (only a name) writes nothing at all, so saving it twice gives the same bytes.
Outcome writeDocumentType(std::string_view value, XmlSink &sink, int depth, bool inlined)
{
    if (value.empty())
        return std::nullopt;
    constexpr std::string_view kOpen = "<!DOCTYPE";
    if (value.size() <= kOpen.size() || value.substr(0, kOpen.size()) != kOpen ||
        !dom::IsXmlSpace(value[kOpen.size()]) || value.back() != '>')
        return Refusal{"a document type declaration runs from \"<!DOCTYPE\" to \">\"", {}};
    if (!inlined)
        putIndent(sink, depth);
    return putChecked(value, sink, kMarkup);
}

Outcome writeStart(dom::NodeView node, XmlSink &sink, int depth, bool inlined, bool leading)
{
    const std::string_view value = node.nodeValue();
    switch (node.nodeType()) {
    case dom::NODE_ELEMENT:
        return writeElementStart(node, sink, depth, inlined);
    case dom::NODE_TEXT:
        return putChecked(value, sink, kText);
    case dom::NODE_CDATA_SECTION:
        return writeCdata(value, sink, depth, inlined);
    case dom::NODE_PROCESSING_INSTRUCTION:
        return writePi(node, sink, depth, inlined, leading);
    case dom::NODE_COMMENT:
        if (std::optional<std::string> reason = CheckCommentText(value))
            return Refusal{std::move(*reason), {}};
        if (!inlined)
            putIndent(sink, depth);
        sink.put("<!--");
        if (Outcome refused = putChecked(value, sink, kMarkup))
            return refused;
        sink.put("-->");
        return std::nullopt;
    case dom::NODE_DOCUMENT_TYPE:
        return writeDocumentType(value, sink, depth, inlined);
    default:
        return std::nullopt;
    }
}

void writeEnd(dom::NodeView node, XmlSink &sink, bool inlined)
{
    const dom::NodeType kind = node.nodeType();
    if (kind == dom::NODE_TEXT || (kind == dom::NODE_DOCUMENT_TYPE && node.nodeValue().empty()))
        return;
    if (kind == dom::NODE_ELEMENT) {
        sink.put("</");
        sink.put(node.nodeName());
        sink.put('>');
    }
    if (!inlined)
        sink.put(kLineEnd);
}

} // namespace

bool WriteXMLNode(const dom::Node &node, XmlSink &sink, int depth)
{
    // Uncounted views keep the walk cheap; `node` keeps the document alive meanwhile. An
    // explicit stack: documents may nest far deeper than the call stack allows.
    struct Open {
        dom::NodeView node;
        int depth;
        bool inlined;
        bool inlineChildren;
        bool preserve;
    };
    std::vector<Open> open;
    // Writes the start of `n`; returns its first child when it has one (and keeps it open).
    auto enter = [&](dom::NodeView n, int d, bool inlined, bool leading,
                     bool inheritedPreserve) -> dom::NodeView {
        if (Outcome refused = writeStart(n, sink, d, inlined, leading)) {
            std::string path = pathOf(n.node(node));
            if (!refused->attribute.empty())
                path += "/@" + std::string(refused->attribute);
            sink.fail(path + ": " + refused->reason);
            return {};
        }
        const dom::NodeView first = n.firstChild();
        if (first.isNull()) {
            writeEnd(n, sink, inlined);
            return first;
        }
        const bool preserve = preservesSpace(n, inheritedPreserve);
        open.push_back({n, d, inlined, inlined || preserve || hasTextChild(n), preserve});
        return first;
    };

    dom::NodeView cursor = enter(node.view(), depth, false, false, false);
    bool firstChild = true;
    while (!open.empty() && !sink.failed()) {
        if (cursor) {
            const Open top = open.back();
            const dom::NodeView child = cursor;
            const bool leading = firstChild && top.node.nodeType() == dom::NODE_DOCUMENT;
            const dom::NodeView first =
                enter(child, top.depth + 1, top.inlineChildren, leading, top.preserve);
            firstChild = !first.isNull();
            cursor = first ? first : child.nextSibling();
        } else {
            const Open done = open.back();
            open.pop_back();
            writeEnd(done.node, sink, done.inlined);
            firstChild = false;
            if (!open.empty())
                cursor = done.node.nextSibling();
        }
    }
    return !sink.failed();
}

std::string WriteXMLString(const dom::Node &node, std::string *error)
{
    XmlSink sink;
    const int depth = node.nodeType() == dom::NODE_DOCUMENT ? 0 : 1;
    if (!node.isNull() && !WriteXMLNode(node, sink, depth)) {
        if (error != nullptr)
            *error = sink.error();
        return {};
    }
    return std::string(sink.text());
}
