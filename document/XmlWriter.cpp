#include "XmlWriter.h"

#include "MessageBox.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{

constexpr std::string_view kLineEnd = "\r\n";

// Characters below 32 other than tab, LF and CR cannot appear in an XML 1.0 document at all,
// not even as character references.
bool checkCharacters(std::string_view text, XmlSink &sink)
{
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 && c != '\t' && c != '\n' && c != '\r') {
            sink.fail("a value contains the control character " + std::to_string(byte) +
                      ", which XML cannot hold");
            return false;
        }
    }
    return true;
}

// Bytes that need a look: markup characters and everything below 32.
constexpr std::array<bool, 256> kNeedsLook = [] {
    std::array<bool, 256> table{};
    for (int c = 0; c < 0x20; ++c)
        table[c] = true;
    for (const unsigned char c : {'&', '<', '>', '"'})
        table[c] = true;
    return table;
}();

bool needsLook(char c)
{
    return kNeedsLook[static_cast<unsigned char>(c)];
}

std::string_view escapeOf(char c, bool attribute)
{
    switch (c) {
    case '&':
        return "&amp;";
    case '<':
        return "&lt;";
    case '>':
        return attribute ? std::string_view() : "&gt;";
    case '"':
        return attribute ? "&quot;" : std::string_view();
    case '\r':
        return "&#13;";
    case '\t':
        return attribute ? "&#9;" : std::string_view();
    case '\n':
        return attribute ? "&#10;" : std::string_view();
    default:
        return {};
    }
}

void putEscaped(std::string_view text, XmlSink &sink, bool attribute)
{
    const char *const end = text.data() + text.size();
    const char *start = text.data();
    for (const char *p = std::find_if(start, end, needsLook); p != end;
         p = std::find_if(p + 1, end, needsLook)) {
        const std::string_view replacement = escapeOf(*p, attribute);
        if (replacement.empty()) {
            if (static_cast<unsigned char>(*p) < 0x20 && *p != '\t' && *p != '\n' && *p != '\r') {
                checkCharacters(std::string_view(p, 1), sink);
                return;
            }
            continue;
        }
        sink.put(std::string_view(start, static_cast<std::size_t>(p - start)));
        sink.put(replacement);
        start = p + 1;
    }
    sink.put(std::string_view(start, static_cast<std::size_t>(end - start)));
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

void putIndent(XmlSink &sink, int depth)
{
    static const std::string tabs(64, '\t');
    for (int left = depth - 1; left > 0; left -= static_cast<int>(tabs.size()))
        sink.put(std::string_view(tabs).substr(0, std::min<std::size_t>(left, tabs.size())));
}

bool hasTextChild(dom::NodeView element)
{
    if (!element.mayHaveTextChild())
        return false;
    for (dom::NodeView child = element.firstChild(); child; child = child.nextSibling()) {
        if (child.nodeType() == dom::NODE_TEXT && !child.nodeValue().empty())
            return true;
    }
    return false;
}

void writeStart(dom::NodeView node, XmlSink &sink, int depth, bool inlined)
{
    const std::string_view value = node.nodeValue();
    switch (node.nodeType()) {
    case dom::NODE_ELEMENT: {
        if (!inlined)
            putIndent(sink, depth);
        sink.put('<');
        sink.put(node.nodeName());
        for (dom::NodeView a = node.firstAttribute(); a; a = a.nextAttribute()) {
            sink.put(' ');
            sink.put(a.nodeName());
            sink.put("=\"");
            putEscaped(a.nodeValue(), sink, true);
            sink.put('"');
        }
        sink.put('>');
        break;
    }
    case dom::NODE_TEXT:
        putEscaped(value, sink, false);
        break;
    case dom::NODE_CDATA_SECTION: {
        if (!checkCharacters(value, sink))
            return;
        if (!inlined)
            putIndent(sink, depth);
        // "]]>" cannot stand inside a section: it is split over two.
        sink.put("<![CDATA[");
        std::size_t start = 0;
        for (std::size_t end = value.find("]]>"); end != std::string_view::npos;
             end = value.find("]]>", start)) {
            sink.put(value.substr(start, end + 2 - start));
            sink.put("]]><![CDATA[");
            start = end + 2;
        }
        sink.put(value.substr(start));
        sink.put("]]>");
        break;
    }
    case dom::NODE_PROCESSING_INSTRUCTION: {
        if (value.find("?>") != std::string_view::npos) {
            sink.fail("the data of processing instruction \"" + std::string(node.nodeName()) +
                      "\" contains \"?>\"");
            return;
        }
        if (!checkCharacters(value, sink))
            return;
        if (!inlined)
            putIndent(sink, depth);
        sink.put("<?");
        sink.put(node.nodeName());
        sink.put(' ');
        const bool declaration =
            node.nodeName() == "xml" && node.parentNode().nodeType() == dom::NODE_DOCUMENT;
        sink.put(declaration ? std::string_view(utf8Declaration(value)) : value);
        sink.put("?>");
        break;
    }
    case dom::NODE_COMMENT:
        if (value.find("--") != std::string_view::npos || (!value.empty() && value.back() == '-')) {
            sink.fail("a comment contains \"--\" or ends with \"-\"");
            return;
        }
        if (!checkCharacters(value, sink))
            return;
        if (!inlined)
            putIndent(sink, depth);
        sink.put("<!--");
        sink.put(value);
        sink.put("-->");
        break;
    default:
        break;
    }
}

void writeEnd(dom::NodeView node, XmlSink &sink, bool inlined)
{
    const dom::NodeType kind = node.nodeType();
    // A document type writes nothing, not even an empty line, so a second save gives the
    // same bytes as the first.
    if (kind == dom::NODE_TEXT || kind == dom::NODE_DOCUMENT_TYPE)
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
    };
    std::vector<Open> open;
    // Writes the start of `n`; returns its first child when it has one (and keeps it open).
    auto enter = [&](dom::NodeView n, int d, bool inlined) -> dom::NodeView {
        writeStart(n, sink, d, inlined);
        const dom::NodeView first = n.firstChild();
        if (first.isNull()) {
            writeEnd(n, sink, inlined);
            return first;
        }
        open.push_back({n, d, inlined, inlined || hasTextChild(n)});
        return first;
    };

    dom::NodeView cursor = enter(node.view(), depth, false);
    while (!open.empty() && !sink.failed()) {
        if (cursor) {
            const Open top = open.back();
            const dom::NodeView child = cursor;
            const dom::NodeView first = enter(child, top.depth + 1, top.inlineChildren);
            cursor = first ? first : child.nextSibling();
        } else {
            const Open done = open.back();
            open.pop_back();
            writeEnd(done.node, sink, done.inlined);
            if (!open.empty())
                cursor = done.node.nextSibling();
        }
    }
    return !sink.failed();
}

std::string WriteXMLString(const dom::Node &document, std::string *error)
{
    XmlSink sink;
    if (!document.isNull() && !WriteXMLNode(document, sink, 0)) {
        if (error != nullptr)
            *error = sink.error();
        return {};
    }
    return std::string(sink.text());
}

namespace
{

mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Writes into a temporary file beside `target` and renames it over the target. Returns an
// empty string on success, else the reason.
std::string writeReplacing(const dom::Node &document, const QByteArray &target)
{
    const QFileInfo info(QFile::decodeName(target));
    QByteArray temporary =
        QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName()) + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return std::strerror(errno);
    struct stat existing = {};
    const mode_t mode =
        ::stat(target.constData(), &existing) == 0 ? (existing.st_mode & 07777) : newFileMode();
    std::FILE *file = ::fdopen(fd, "wb");
    if (file == nullptr) {
        const std::string reason = std::strerror(errno);
        ::close(fd);
        ::unlink(temporary.constData());
        return reason;
    }
    XmlSink sink(file);
    if (!document.isNull())
        WriteXMLNode(document, sink, 0);
    sink.flush();
    std::string reason = sink.error();
    if (reason.empty() &&
        (::fchmod(fd, mode) != 0 || std::fflush(file) != 0 || ::fdatasync(fd) != 0))
        reason = std::strerror(errno);
    if (std::fclose(file) != 0 && reason.empty())
        reason = std::strerror(errno);
    if (reason.empty() && ::rename(temporary.constData(), target.constData()) != 0)
        reason = std::strerror(errno);
    if (!reason.empty())
        ::unlink(temporary.constData());
    return reason;
}

} // namespace

HRESULT WriteXMLFile(const dom::Node &document, const QString &path)
{
    // Saving through a symbolic link replaces the file it points to, not the link.
    const QFileInfo info(path);
    const QString target = info.isSymLink() ? info.canonicalFilePath() : info.absoluteFilePath();
    const std::string reason = target.isEmpty()
                                   ? std::string("the link points nowhere")
                                   : writeReplacing(document, QFile::encodeName(target));
    if (reason.empty())
        return S_OK;
    AfxMessageBox(QStringLiteral("Cannot save %1:\n%2").arg(path, QString::fromStdString(reason)));
    return E_FAIL;
}
