#include "SaxLoader.h"

#include "Document.h"
#include "NodeStore.h"
#include "XmlName.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <array>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <unordered_map>
#include <vector>

namespace dom
{
namespace
{

constexpr unsigned kMaxDepth = 100000;
constexpr std::uint64_t kExpansionAllowance = std::uint64_t{64} << 20;
constexpr std::uint64_t kExpansionFactor = 16;

// Names arrive interned in the parser's dictionary, so a pointer pair identifies a name.
struct NameKey {
    const xmlChar *local;
    const xmlChar *prefix;
    bool operator==(const NameKey &) const = default;
};
struct NameKeyHash {
    std::size_t operator()(const NameKey &key) const
    {
        const auto a = reinterpret_cast<std::uintptr_t>(key.local);
        const auto b = reinterpret_cast<std::uintptr_t>(key.prefix);
        return (a * 0x9E3779B97F4A7C15ull) ^ (b + (b << 7));
    }
};

struct FirstError {
    int code = 0;
    int line = 0;
    int column = 0;
    std::string message;
    int level = 0;
};

constexpr const char *kOutOfMemory = "Not enough memory to load the document.\n";

thread_local bool t_loading = false;
xmlExternalEntityLoader g_defaultLoader = nullptr;

// Marks the thread as loading for as long as it lives.
class LoadingScope
{
public:
    LoadingScope() : m_previous(t_loading) { t_loading = true; }
    ~LoadingScope() { t_loading = m_previous; }
    LoadingScope(const LoadingScope &) = delete;
    LoadingScope &operator=(const LoadingScope &) = delete;

private:
    bool m_previous;
};

// Nothing a document refers to is ever fetched while we load; other libxml2 users in the
// process (none in the program, the benchmarks compare with them) keep the default.
xmlParserInputPtr refuseExternal(const char *url, const char *id, xmlParserCtxtPtr ctxt)
{
    if (t_loading)
        return nullptr;
    return g_defaultLoader != nullptr ? g_defaultLoader(url, id, ctxt) : nullptr;
}

class Loader
{
public:
    Loader(DocumentStore &store, std::uint64_t inputSize)
        : m_store(store), m_limit(kExpansionAllowance + kExpansionFactor * inputSize)
    {
        m_parents.push_back(store.documentNode());
        m_preserve.push_back(store.preserveWhiteSpace);
    }

    // The loader of a callback's context: the document's own, or one that libxml2 made for an
    // entity's replacement text (it shares our _private).
    static Loader &of(void *ctx)
    {
        auto *ctxt = static_cast<xmlParserCtxtPtr>(ctx);
        auto &loader = *static_cast<Loader *>(ctxt->_private);
        loader.m_active = ctxt;
        return loader;
    }

    void setContext(xmlParserCtxtPtr ctxt) { m_ctxt = m_active = ctxt; }
    void rememberHead(const char *data, int size)
    {
        if (m_head.size() < 1024 && size > 0)
            m_head.append(data, std::min<std::size_t>(size, 1024 - m_head.size()));
    }
    // The raw bytes are kept from the end of the last prolog item until the document type
    // declaration has ended (or the document element shows there is none): libxml2's own
    // buffers may have moved on by the time the declaration ends.
    void teeRaw(const char *data, int size)
    {
        m_rawEnd += static_cast<std::uint64_t>(size);
        if (m_teeing)
            m_raw.append(data, static_cast<std::size_t>(size));
    }
    void markProlog(xmlParserCtxtPtr ctxt);
    void endDoctype(xmlParserCtxtPtr ctxt);

    // SAX events.
    void startDocument();
    void startElement(const xmlChar *local, const xmlChar *prefix, int namespaceCount,
                      const xmlChar **namespaces, int attributeCount, int defaultedCount,
                      const xmlChar **attributes);
    void endElement()
    {
        flushText();
        if (m_parents.size() > 1) {
            m_parents.pop_back();
            m_preserve.pop_back();
        }
    }
    void characters(const xmlChar *text, int length)
    {
        if (charge(length))
            m_text.append(reinterpret_cast<const char *>(text), length);
    }
    void leaf(NodeType kind, NameId name, std::string_view value);
    void doctype(const xmlChar *name);
    void error(const xmlError *error);
    void externalEntity(const xmlChar *name)
    {
        failAtEntity(name, "' is stored outside the document and is never read\n");
    }
    void undeclaredEntity(const xmlChar *name) { failAtEntity(name, "' not defined\n"); }
    NameId internName(const xmlChar *local, const xmlChar *prefix);
    NameId internPlain(const xmlChar *name) { return internName(name, nullptr); }
    bool inSubset(void *ctx) const { return static_cast<xmlParserCtxtPtr>(ctx)->inSubset != 0; }
    void flushText();

    // Remembers the first failure of our own and, unless told not to (libxml2 may be in the
    // middle of something that stopping would pull away), stops the parser. Never throws.
    void abort(HRESULT code, const char *reason, bool stopParser = true) noexcept;
    // Memory ran out: a failure of the load, not of a place in the document.
    void outOfMemory(bool stopParser) noexcept
    {
        if (m_aborted)
            return;
        abort(E_OUTOFMEMORY, kOutOfMemory, stopParser);
        m_abortAt.line = m_abortAt.column = 0;
    }
    void readFailed() noexcept { m_readFailed = true; }
    // The caller stopped the load: a failure without a place in the document.
    void cancel() noexcept
    {
        if (m_aborted)
            return;
        abort(DOM_E_CANCELLED, "The load was cancelled.\n", false);
        m_abortAt.line = m_abortAt.column = 0;
    }
    // False once an element has been found with too many attributes; the load then fails.
    bool checkAttributeCount(int count, bool stopParser) noexcept;
    // libxml2 grows its attribute table to twice the attributes of the element it reads: a
    // table past twice the limit gives such an element away while libxml2 is still reading
    // it, long before its quadratic duplicate check ends.
    bool attributeTableWithinLimit() noexcept
    {
        return m_ctxt == nullptr || checkAttributeCount(m_ctxt->maxatts / 10, false);
    }

    HRESULT finish(bool wellFormed);

private:
    NodeIndex append(NodeType kind, NameId name)
    {
        const NodeIndex node = m_store.newNode(kind, name);
        if (node == kNoNode) {
            abort(E_OUTOFMEMORY, "The document has too many nodes.\n");
            return kNoNode;
        }
        m_store.linkLast(m_parents.back(), node, false);
        return node;
    }
    bool charge(std::uint64_t bytes)
    {
        if (m_aborted)
            return false;
        m_expanded += bytes;
        if (m_expanded > m_limit) {
            abort(DOM_E_EXPANSION_LIMIT,
                  "Entity expansion makes the document far larger than its source.\n");
            return false;
        }
        return true;
    }
    void failAtReference(int code, const char *message);
    void failAtEntity(const xmlChar *name, const char *problem);
    std::string declarationData() const;
    void stopTeeing()
    {
        m_teeing = false;
        std::string().swap(m_raw);
    }

    DocumentStore &m_store;
    xmlParserCtxtPtr m_ctxt = nullptr;
    xmlParserCtxtPtr m_active = nullptr;
    std::vector<NodeIndex> m_parents;
    std::vector<char> m_preserve;
    std::string m_text;
    std::unordered_map<NameKey, NameId, NameKeyHash> m_names;
    struct RecentName {
        NameKey key{nullptr, nullptr};
        NameId id = NAME_NONE;
    };
    std::array<RecentName, 64> m_recentNames{};
    std::string m_scratch;
    std::string m_head;
    std::string m_raw;
    std::uint64_t m_rawBase = 0; // source offset of m_raw's first byte
    std::uint64_t m_rawEnd = 0;  // bytes read from the source so far
    bool m_teeing = true;
    NodeIndex m_doctype = kNoNode;
    std::uint64_t m_expanded = 0;
    std::uint64_t m_limit;
    bool m_aborted = false;
    bool m_readFailed = false;
    HRESULT m_abortCode = S_OK;
    const char *m_abortReason = nullptr;
    // A reason built at the failure; it replaces the fixed one abort() takes.
    std::string m_abortMessage;
    FirstError m_abortAt;
    FirstError m_firstError;
};

NameId Loader::internName(const xmlChar *local, const xmlChar *prefix)
{
    const NameKey key{local, prefix};
    // A document uses few names again and again: most are found in the small cache.
    const auto bits =
        reinterpret_cast<std::uintptr_t>(local) ^ (reinterpret_cast<std::uintptr_t>(prefix) << 1);
    RecentName &recent = m_recentNames[(bits * 0x9E3779B97F4A7C15ull) >> 58];
    if (recent.key == key && recent.key.local != nullptr)
        return recent.id;
    if (auto found = m_names.find(key); found != m_names.end()) {
        recent = {key, found->second};
        return found->second;
    }
    m_scratch.clear();
    if (prefix != nullptr) {
        m_scratch.append(reinterpret_cast<const char *>(prefix));
        m_scratch.push_back(':');
    }
    m_scratch.append(reinterpret_cast<const char *>(local));
    const NameId id = m_store.intern(m_scratch);
    m_names.emplace(key, id);
    recent = {key, id};
    return id;
}

void Loader::flushText()
{
    if (m_text.empty())
        return;
    // Text made only of white space is layout, unless xml:space asks to keep it; the document
    // node holds no text at all.
    const bool keep = m_parents.size() > 1 && (m_preserve.back() || !IsXmlWhiteSpace(m_text));
    if (keep) {
        if (const NodeIndex node = append(NODE_TEXT, NAME_TEXT); node != kNoNode)
            m_store.setValue(node, m_text);
    }
    m_text.clear();
}

void Loader::leaf(NodeType kind, NameId name, std::string_view value)
{
    if (!charge(value.size()))
        return;
    flushText();
    if (const NodeIndex node = append(kind, name); node != kNoNode)
        m_store.setValue(node, value);
}

std::string Loader::declarationData() const
{
    // The declaration as written, from the raw start of the source. UTF-16 sources spell the
    // ASCII of the declaration in every other byte.
    std::string_view head = m_head;
    std::string narrow;
    if (head.substr(0, 3) == "\xEF\xBB\xBF") {
        head.remove_prefix(3);
    } else if (head.size() >= 4 &&
               (head.substr(0, 2) == "\xFF\xFE" || head.substr(0, 2) == "\xFE\xFF" ||
                head.substr(0, 2) == std::string_view("<\0", 2) ||
                head.substr(0, 2) == std::string_view("\0<", 2))) {
        const bool bom = head[0] == '\xFF' || head[0] == '\xFE';
        const bool bigEndian = bom ? head[0] == '\xFE' : head[0] == '\0';
        for (std::size_t i = (bom ? 2 : 0) + (bigEndian ? 1 : 0); i < head.size(); i += 2)
            narrow.push_back(head[i]);
        head = narrow;
    }
    if (head.substr(0, 5) != "<?xml" || head.size() < 6 || !IsXmlSpace(head[5]))
        return {};
    const std::size_t end = head.find("?>");
    if (end == std::string_view::npos)
        return {};
    // Taken from the raw bytes, so its line ends are normalised here as the parser does
    // everywhere else.
    return XmlDeclarationData(head.substr(5, end - 5));
}

void Loader::startDocument()
{
    // libxml2 takes "1." without a word; XML wants "1." and digits, and the writer would not
    // write the declaration back.
    if (m_ctxt != nullptr && m_ctxt->version != nullptr) {
        const std::string_view version = reinterpret_cast<const char *>(m_ctxt->version);
        if (version.size() < 3 || version.substr(0, 2) != "1." ||
            version.find_first_not_of("0123456789", 2) != std::string_view::npos) {
            m_scratch = "The XML declaration's version '";
            m_scratch.append(version);
            m_scratch.append("' is not \"1.\" followed by digits.\n");
            return failAtReference(XML_ERR_VERSION_MISMATCH, m_scratch.c_str());
        }
    }
    const std::string data = declarationData();
    if (!data.empty())
        leaf(NODE_PROCESSING_INSTRUCTION, m_store.intern("xml"), data);
}

void Loader::markProlog(xmlParserCtxtPtr ctxt)
{
    if (!m_teeing || m_doctype != kNoNode)
        return;
    const long at = xmlByteConsumed(ctxt);
    if (at < 0 || static_cast<std::uint64_t>(at) < m_rawBase ||
        static_cast<std::uint64_t>(at) > m_rawEnd)
        return;
    m_raw.erase(0, static_cast<std::size_t>(at) - m_rawBase);
    m_rawBase = static_cast<std::uint64_t>(at);
}

namespace
{

struct HandlerCloser {
    void operator()(xmlCharEncodingHandler *handler) const { xmlCharEncCloseFunc(handler); }
};
struct BufferFree {
    void operator()(xmlBuffer *buffer) const { xmlBufferFree(buffer); }
};

// Converts source bytes to UTF-8 with a converter of its own for the encoding the parser reads
// (the parser's converter may hold state).
bool sourceToUtf8(xmlParserCtxtPtr ctxt, std::string_view raw, std::string *out)
{
    const xmlCharEncodingHandler *used =
        ctxt->input != nullptr && ctxt->input->buf != nullptr ? ctxt->input->buf->encoder : nullptr;
    if (used == nullptr) {
        out->assign(raw);
        return true;
    }
    const std::unique_ptr<xmlCharEncodingHandler, HandlerCloser> handler(
        xmlFindCharEncodingHandler(used->name));
    // Every byte of any encoding becomes at most four bytes of UTF-8.
    const std::unique_ptr<xmlBuffer, BufferFree> in(xmlBufferCreateSize(raw.size() + 1));
    const std::unique_ptr<xmlBuffer, BufferFree> utf8(xmlBufferCreateSize(4 * raw.size() + 16));
    if (handler == nullptr || in == nullptr || utf8 == nullptr ||
        xmlBufferAdd(in.get(), reinterpret_cast<const xmlChar *>(raw.data()),
                     static_cast<int>(raw.size())) != 0)
        return false;
    while (xmlBufferLength(in.get()) > 0) {
        const int before = xmlBufferLength(in.get());
        xmlCharEncInFunc(handler.get(), utf8.get(), in.get());
        if (xmlBufferLength(in.get()) == before)
            return false;
    }
    out->assign(reinterpret_cast<const char *>(xmlBufferContent(utf8.get())),
                static_cast<std::size_t>(xmlBufferLength(utf8.get())));
    return true;
}

} // namespace

void Loader::endDoctype(xmlParserCtxtPtr ctxt)
{
    if (m_doctype == kNoNode || !m_teeing)
        return;
    // libxml2 reports the external subset right after the declaration's closing '>'.
    const long end = xmlByteConsumed(ctxt);
    std::string text;
    const bool read =
        end >= 0 && static_cast<std::uint64_t>(end) >= m_rawBase &&
        static_cast<std::uint64_t>(end) <= m_rawEnd &&
        sourceToUtf8(ctxt,
                     std::string_view(m_raw).substr(0, static_cast<std::size_t>(end) - m_rawBase),
                     &text);
    stopTeeing();
    std::string normalised;
    AppendNormalisedLineEnds(normalised, text);
    text = std::move(normalised);
    const std::size_t start = text.find_first_not_of(" \t\n");
    if (!read || start == std::string::npos || text.compare(start, 9, "<!DOCTYPE") != 0 ||
        text.back() != '>') {
        abort(E_FAIL, "The document type declaration could not be kept as written.\n");
        return;
    }
    // libxml2 lets "<!DOCTYPEr" pass; XML, and so every other reader, wants white space there.
    if (start + 9 >= text.size() || !IsXmlSpace(text[start + 9])) {
        abort(E_FAIL, "White space is required after \"<!DOCTYPE\".\n");
        return;
    }
    m_store.setValue(m_doctype, std::string_view(text).substr(start));
}

void Loader::startElement(const xmlChar *local, const xmlChar *prefix, int namespaceCount,
                          const xmlChar **namespaces, int attributeCount, int defaultedCount,
                          const xmlChar **attributes)
{
    if (m_aborted || !checkAttributeCount(attributeCount, true))
        return;
    // "xmlns:0": libxml2 could not read the prefix and passes a plain attribute on, which no
    // reader would take for the declaration it is.
    for (int i = 0; i < attributeCount; ++i) {
        const xmlChar **a = attributes + 5 * i;
        if (a[1] == nullptr && a[0][0] == 'x' &&
            std::strncmp(reinterpret_cast<const char *>(a[0]), "xmlns:", 6) == 0) {
            m_scratch = "The namespace declaration '";
            m_scratch.append(reinterpret_cast<const char *>(a[0]));
            m_scratch.append("' does not declare a prefix that is a name.\n");
            return failAtReference(XML_NS_ERR_QNAME, m_scratch.c_str());
        }
    }
    if (m_teeing)
        stopTeeing(); // no document type declaration comes after the first element
    flushText();
    const NodeIndex element = append(NODE_ELEMENT, internName(local, prefix));
    if (element == kNoNode)
        return;
    bool preserve = m_preserve.back() != 0;
    auto addAttribute = [&](NameId name, std::string_view value) {
        if (!charge(value.size()))
            return;
        const NodeIndex attribute = m_store.newNode(NODE_ATTRIBUTE, name);
        if (attribute == kNoNode)
            return abort(E_OUTOFMEMORY, "The document has too many nodes.\n");
        m_store.setValue(attribute, value);
        m_store.linkLast(element, attribute, true);
    };
    // Namespace declarations are attributes of the element, as the file wrote them.
    static const xmlChar *const xmlnsName = reinterpret_cast<const xmlChar *>("xmlns");
    for (int i = 0; i < namespaceCount; ++i) {
        const xmlChar *nsPrefix = namespaces[2 * i];
        const xmlChar *uri = namespaces[2 * i + 1];
        const NameId name =
            nsPrefix == nullptr ? internName(xmlnsName, nullptr) : internName(nsPrefix, xmlnsName);
        addAttribute(name, uri == nullptr ? std::string_view()
                                          : std::string_view(reinterpret_cast<const char *>(uri)));
    }
    // Attributes the DTD would add by default were not in the file; they are left out.
    for (int i = 0; i < attributeCount - defaultedCount; ++i) {
        const xmlChar **a = attributes + 5 * i;
        const std::string_view value(reinterpret_cast<const char *>(a[3]),
                                     static_cast<std::size_t>(a[4] - a[3]));
        addAttribute(internName(a[0], a[1]), value);
        if (a[1] != nullptr && std::strcmp(reinterpret_cast<const char *>(a[1]), "xml") == 0 &&
            std::strcmp(reinterpret_cast<const char *>(a[0]), "space") == 0) {
            preserve = value == "preserve" ? true : value == "default" ? false : preserve;
        }
    }
    m_parents.push_back(element);
    m_preserve.push_back(preserve ? 1 : 0);
}

void Loader::doctype(const xmlChar *name)
{
    if (m_aborted)
        return;
    flushText();
    m_doctype = append(NODE_DOCUMENT_TYPE, internPlain(name));
}

void Loader::error(const xmlError *error)
{
    if (error == nullptr || error->level < XML_ERR_ERROR)
        return;
    // libxml2 has stopped itself already, maybe from deep inside its buffers.
    if (error->code == XML_ERR_NO_MEMORY) {
        outOfMemory(false);
        return;
    }
    // With an external DTD (never read) libxml2 only warns of an undeclared entity and drops
    // the reference; the content would be incomplete, so the load fails here. In the DTD the
    // reference loses nothing: the declaration is kept as written.
    const bool undeclared =
        error->code == XML_WAR_UNDECLARED_ENTITY || error->code == XML_ERR_UNDECLARED_ENTITY;
    if (undeclared && m_active != nullptr && m_active->inSubset == 0) {
        failAtReference(XML_ERR_UNDECLARED_ENTITY,
                        error->message != nullptr ? error->message : "Undeclared entity\n");
        return;
    }
    // libxml2 leaves out a namespace declaration it refuses (a prefix bound to nothing, the xml
    // or xmlns prefix or namespace bound wrongly) and goes on: the attribute would vanish from a
    // load that succeeded.
    if (error->code == XML_NS_ERR_XML_NAMESPACE || error->code == XML_NS_ERR_EMPTY) {
        failAtReference(error->code, error->message != nullptr
                                         ? error->message
                                         : "A namespace declaration is not allowed.\n");
        return;
    }
    // The first fatal error is the reason; a lesser error only until a fatal one comes.
    if (m_firstError.level == XML_ERR_FATAL)
        return;
    if (m_firstError.level != 0 && error->level != XML_ERR_FATAL)
        return;
    m_firstError = {error->code, error->line, error->int2,
                    error->message != nullptr ? error->message : "Unknown error\n", error->level};
}

void Loader::failAtEntity(const xmlChar *name, const char *problem)
{
    m_scratch = "Entity '";
    m_scratch.append(reinterpret_cast<const char *>(name));
    m_scratch.append(problem);
    failAtReference(XML_ERR_UNDECLARED_ENTITY, m_scratch.c_str());
}

void Loader::failAtReference(int code, const char *message)
{
    if (m_aborted)
        return;
    m_abortMessage = message;
    // abort() takes the position in the document: inside an entity's replacement text libxml2
    // counts the lines of that text, but the reference is where the user can look.
    abort(code, nullptr);
    if (m_active != nullptr && m_active != m_ctxt)
        xmlStopParser(m_active);
}

void Loader::abort(HRESULT code, const char *reason, bool stopParser) noexcept
{
    if (m_aborted)
        return;
    m_aborted = true;
    m_abortCode = code;
    m_abortReason = reason;
    if (m_ctxt != nullptr && m_ctxt->input != nullptr) {
        m_abortAt.line = m_ctxt->input->line;
        m_abortAt.column = m_ctxt->input->col;
    }
    if (m_ctxt != nullptr && stopParser)
        xmlStopParser(m_ctxt);
}

bool Loader::checkAttributeCount(int count, bool stopParser) noexcept
{
    if (count < kMaxAttributesPerElement)
        return true;
    static_assert(kMaxAttributesPerElement == 20000, "the message names the limit");
    abort(DOM_E_TOO_MANY_ATTRIBUTES,
          "An element has 20000 attributes or more; such documents are not opened.\n", stopParser);
    return false;
}

HRESULT Loader::finish(bool wellFormed)
{
    m_active = m_ctxt; // the contexts of entity texts are gone
    try {
        flushText();
    } catch (const std::bad_alloc &) {
        outOfMemory(false);
    }
    ParseError &result = m_store.parseError;
    if (m_aborted) {
        result.errorCode = m_abortCode;
        result.line = m_abortAt.line;
        result.linepos = m_abortAt.column;
        result.reason = !m_abortMessage.empty()    ? m_abortMessage
                        : m_abortReason != nullptr ? m_abortReason
                                                   : "The document could not be loaded.\n";
    } else if (m_readFailed) {
        result.errorCode = DOM_E_RESOURCE_NOT_FOUND;
        result.line = result.linepos = 0;
        result.reason = "The source could not be read to its end.\n";
    } else if (!wellFormed) {
        result.errorCode = m_firstError.code != 0 ? m_firstError.code : E_FAIL;
        result.line = m_firstError.line;
        result.linepos = m_firstError.column;
        result.reason = m_firstError.message.empty()
                            ? std::string("The document is not well-formed.\n")
                            : m_firstError.message;
    } else {
        result.errorCode = 0;
        result.line = result.linepos = 0;
        result.reason.clear();
    }
    return result.errorCode;
}

// Static trampolines: libxml2 calls C functions, and nothing may be thrown through them. Each
// one runs its work through guarded(): a failure there is remembered, the parser stopped, and
// the load reports it after libxml2 returns.
template <typename Work> void guarded(void *ctx, Work &&work) noexcept
{
    Loader &loader = Loader::of(ctx);
    try {
        work(loader);
    } catch (const std::bad_alloc &) {
        loader.outOfMemory(true);
    } catch (...) {
        loader.abort(E_FAIL, "The document could not be loaded.\n");
    }
}

void onStartDocument(void *ctx)
{
    xmlSAX2StartDocument(ctx); // keeps a tiny document for the DTD's entity declarations
    guarded(ctx, [ctx](Loader &loader) {
        loader.startDocument();
        loader.markProlog(static_cast<xmlParserCtxtPtr>(ctx));
    });
}
void onStartElementNs(void *ctx, const xmlChar *local, const xmlChar *prefix, const xmlChar *,
                      int namespaceCount, const xmlChar **namespaces, int attributeCount,
                      int defaultedCount, const xmlChar **attributes)
{
    guarded(ctx, [&](Loader &loader) {
        loader.startElement(local, prefix, namespaceCount, namespaces, attributeCount,
                            defaultedCount, attributes);
    });
}
void onEndElementNs(void *ctx, const xmlChar *, const xmlChar *, const xmlChar *)
{
    guarded(ctx, [](Loader &loader) { loader.endElement(); });
}
void onCharacters(void *ctx, const xmlChar *text, int length)
{
    guarded(ctx, [&](Loader &loader) { loader.characters(text, length); });
}
void onCdata(void *ctx, const xmlChar *text, int length)
{
    guarded(ctx, [&](Loader &loader) {
        loader.leaf(NODE_CDATA_SECTION, NAME_CDATA,
                    std::string_view(reinterpret_cast<const char *>(text), length));
    });
}
void onComment(void *ctx, const xmlChar *text)
{
    guarded(ctx, [&](Loader &loader) {
        if (loader.inSubset(ctx))
            return;
        loader.leaf(NODE_COMMENT, NAME_COMMENT, reinterpret_cast<const char *>(text));
        loader.markProlog(static_cast<xmlParserCtxtPtr>(ctx));
    });
}
void onProcessingInstruction(void *ctx, const xmlChar *target, const xmlChar *data)
{
    guarded(ctx, [&](Loader &loader) {
        if (loader.inSubset(ctx))
            return;
        loader.leaf(NODE_PROCESSING_INSTRUCTION, loader.internPlain(target),
                    data == nullptr ? "" : reinterpret_cast<const char *>(data));
        loader.markProlog(static_cast<xmlParserCtxtPtr>(ctx));
    });
}
void onInternalSubset(void *ctx, const xmlChar *name, const xmlChar *externalId,
                      const xmlChar *systemId)
{
    xmlSAX2InternalSubset(ctx, name, externalId, systemId);
    guarded(ctx, [name](Loader &loader) { loader.doctype(name); });
}
// Called right after the declaration ends, with or without an internal subset. The external
// subset itself is never read.
void onExternalSubset(void *ctx, const xmlChar *, const xmlChar *, const xmlChar *)
{
    guarded(ctx, [ctx](Loader &loader) { loader.endDoctype(static_cast<xmlParserCtxtPtr>(ctx)); });
}
xmlParserInputPtr onResolveEntity(void *, const xmlChar *, const xmlChar *)
{
    return nullptr;
}
// libxml2's own lookup, minus the fetch: a reference to an external parsed entity would be
// dropped without a word, so it fails the load.
xmlEntityPtr onGetEntity(void *ctx, const xmlChar *name)
{
    auto *ctxt = static_cast<xmlParserCtxtPtr>(ctx);
    xmlEntityPtr entity = ctxt->inSubset == 0 ? xmlGetPredefinedEntity(name) : nullptr;
    if (entity == nullptr && ctxt->myDoc != nullptr)
        entity = xmlGetDocEntity(ctxt->myDoc, name);
    if (entity != nullptr && entity->etype == XML_EXTERNAL_GENERAL_PARSED_ENTITY &&
        ctxt->inSubset == 0)
        guarded(ctx, [name](Loader &loader) { loader.externalEntity(name); });
    return entity;
}
// Called for a reference libxml2 skips; nothing may vanish from a load that succeeds.
void onReference(void *ctx, const xmlChar *name)
{
    if (static_cast<xmlParserCtxtPtr>(ctx)->inSubset == 0)
        guarded(ctx, [name](Loader &loader) { loader.undeclaredEntity(name); });
}
void onError(void *ctx, xmlErrorPtr error)
{
    auto *ctxt = static_cast<xmlParserCtxtPtr>(ctx);
    if (ctxt != nullptr && ctxt->_private != nullptr)
        guarded(ctx, [error](Loader &loader) { loader.error(error); });
}

struct ReadContext {
    const SourceRead *read;
    Loader *loader;
    const LoadProgress *progress;
    std::uint64_t total;
    std::uint64_t done = 0;
    std::uint64_t nextReport = 0;
};

constexpr std::uint64_t kProgressStep = std::uint64_t{1} << 20;

// False when the caller's progress callback asks to stop.
bool reportProgress(ReadContext &reader)
{
    if (reader.progress == nullptr || !*reader.progress || reader.done < reader.nextReport)
        return true;
    reader.nextReport = reader.done + kProgressStep;
    return (*reader.progress)(reader.done, reader.total);
}

// Called from inside libxml2's buffer code: a failure here must not stop the parser under it;
// libxml2 stops on the failed read itself.
int onRead(void *context, char *buffer, int size)
{
    auto *reader = static_cast<ReadContext *>(context);
    if (!reader->loader->attributeTableWithinLimit())
        return -1;
    try {
        if (!reportProgress(*reader)) {
            reader->loader->cancel();
            return -1;
        }
        const int count = (*reader->read)(buffer, size);
        if (count < 0) {
            reader->loader->readFailed();
            return -1;
        }
        reader->loader->rememberHead(buffer, count);
        reader->loader->teeRaw(buffer, count);
        reader->done += static_cast<std::uint64_t>(count);
        return count;
    } catch (const std::bad_alloc &) {
        reader->loader->outOfMemory(false);
    } catch (...) {
        reader->loader->abort(E_FAIL, "The source could not be read to its end.\n", false);
    }
    return -1;
}
int onClose(void *)
{
    return 0;
}

// libxml2 writes some problems (encoding errors among them) straight to stderr as well as
// to the parser's error; while we load, the parse error object is the one report.
void quietWhileLoading(void *, const char *format, ...)
{
    if (t_loading)
        return;
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(stderr, format, arguments);
    va_end(arguments);
}

void initialiseOnce()
{
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        xmlSetGenericErrorFunc(nullptr, quietWhileLoading);
        g_defaultLoader = xmlGetExternalEntityLoader();
        xmlSetExternalEntityLoader(refuseExternal);
        // Deep documents are real documents; our own walks never recurse.
        if (xmlParserMaxDepth < kMaxDepth)
            xmlParserMaxDepth = kMaxDepth;
    });
}

// Frees a parser context with the small document libxml2 kept for the DTD.
struct ParserFree {
    void operator()(xmlParserCtxt *ctxt) const
    {
        if (ctxt->myDoc != nullptr)
            xmlFreeDoc(ctxt->myDoc);
        ctxt->myDoc = nullptr;
        xmlFreeParserCtxt(ctxt);
    }
};

xmlSAXHandler makeHandler()
{
    xmlSAXHandler sax;
    xmlSAXVersion(&sax, 2); // entity and DTD bookkeeping stay libxml2's own
    sax.startDocument = onStartDocument;
    sax.startElementNs = onStartElementNs;
    sax.endElementNs = onEndElementNs;
    sax.startElement = nullptr;
    sax.endElement = nullptr;
    sax.characters = onCharacters;
    sax.ignorableWhitespace = onCharacters;
    sax.cdataBlock = onCdata;
    sax.comment = onComment;
    sax.processingInstruction = onProcessingInstruction;
    sax.internalSubset = onInternalSubset;
    sax.externalSubset = onExternalSubset;
    sax.resolveEntity = onResolveEntity;
    sax.reference = onReference;
    sax.getEntity = onGetEntity;
    sax.warning = nullptr;
    sax.error = nullptr;
    sax.fatalError = nullptr;
    sax.serror = onError;
    return sax;
}

} // namespace

HRESULT ParseIntoStore(DocumentStore &store, const SourceRead &read, std::uint64_t inputSize,
                       const LoadProgress &progress)
{
    initialiseOnce();
    Loader loader(store, inputSize);
    ReadContext context{&read, &loader, &progress, inputSize};
    xmlSAXHandler sax = makeHandler();
    const std::unique_ptr<xmlParserCtxt, ParserFree> ctxt(
        xmlCreateIOParserCtxt(&sax, nullptr, onRead, onClose, &context, XML_CHAR_ENCODING_NONE));
    if (ctxt == nullptr) {
        store.parseError.errorCode = E_OUTOFMEMORY;
        store.parseError.reason = kOutOfMemory;
        return E_OUTOFMEMORY;
    }
    ctxt->_private = &loader;
    loader.setContext(ctxt.get());
    xmlCtxtUseOptions(ctxt.get(), XML_PARSE_NOENT | XML_PARSE_NONET);
    {
        const LoadingScope loading;
        xmlParseDocument(ctxt.get());
    }
    return loader.finish(ctxt->wellFormed != 0);
}

} // namespace dom
