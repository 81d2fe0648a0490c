#include "QuickParser.h"

#include "NodeStore.h"
#include "XmlName.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace dom
{
namespace
{

constexpr std::size_t kFirstBuffer = std::size_t{1} << 20;
// The buffer grows to hold a whole tag, comment, processing instruction or CDATA section, up to
// this; a longer one goes to libxml2, which knows its own limits (ten million bytes).
constexpr std::size_t kLargestBuffer = std::size_t{8} << 20;
constexpr std::size_t kLongestName = 1000;
constexpr std::size_t kMostAttributes = 256;
// libxml2 stops at a depth of 100000; documents near it are left to libxml2.
constexpr std::size_t kDeepest = 99000;
constexpr std::size_t kNameCacheSize = 1024;
// A declaration longer than this is left to libxml2.
constexpr std::size_t kLongestDeclaration = 512;

// Thrown for a document this reader leaves to libxml2.
struct Decline {
};
// Thrown when the progress callback asks to stop.
struct Cancel {
};

enum : unsigned char { BYTE_NAME_START = 1, BYTE_NAME = 2, BYTE_SPACE = 4 };

constexpr std::array<unsigned char, 256> makeByteClasses()
{
    std::array<unsigned char, 256> classes{};
    for (int c = 'a'; c <= 'z'; ++c)
        classes[c] = BYTE_NAME_START | BYTE_NAME;
    for (int c = 'A'; c <= 'Z'; ++c)
        classes[c] = BYTE_NAME_START | BYTE_NAME;
    classes['_'] = BYTE_NAME_START | BYTE_NAME;
    for (int c = '0'; c <= '9'; ++c)
        classes[c] = BYTE_NAME;
    classes['-'] = classes['.'] = classes[':'] = BYTE_NAME;
    classes[' '] = classes['\t'] = classes['\n'] = classes['\r'] = BYTE_SPACE;
    return classes;
}
constexpr std::array<unsigned char, 256> kByteClasses = makeByteClasses();

inline unsigned char byteClass(char c)
{
    return kByteClasses[static_cast<unsigned char>(c)];
}

// The first byte at or after `p` that is a control character, not ASCII, or one of `a`, `b`,
// `c`; `end` when there is none.
inline const char *findSpecial(const char *p, const char *end, char a, char b, char c)
{
#ifdef __SSE2__
    const __m128i low = _mm_set1_epi8(0x20);
    const __m128i va = _mm_set1_epi8(a);
    const __m128i vb = _mm_set1_epi8(b);
    const __m128i vc = _mm_set1_epi8(c);
    while (end - p >= 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        // Signed: bytes from 0x80 up count as below 0x20.
        const __m128i hit =
            _mm_or_si128(_mm_or_si128(_mm_cmplt_epi8(x, low), _mm_cmpeq_epi8(x, va)),
                         _mm_or_si128(_mm_cmpeq_epi8(x, vb), _mm_cmpeq_epi8(x, vc)));
        if (const int mask = _mm_movemask_epi8(hit); mask != 0)
            return p + __builtin_ctz(static_cast<unsigned>(mask));
        p += 16;
    }
#endif
    for (; p < end; ++p) {
        const auto u = static_cast<unsigned char>(*p);
        if (u < 0x20 || u >= 0x80 || *p == a || *p == b || *p == c)
            return p;
    }
    return end;
}

// The length of the UTF-8 sequence of one XML character at `p`: 0 when the bytes are not one,
// -1 when the sequence runs past `end`.
int characterLength(const char *at, const char *end)
{
    const auto *p = reinterpret_cast<const unsigned char *>(at);
    const unsigned lead = p[0];
    unsigned low = 0x80;
    unsigned high = 0xBF;
    int length = 0;
    if (lead < 0xC2) {
        return 0; // a continuation byte, or the start of an overlong form
    } else if (lead < 0xE0) {
        length = 2;
    } else if (lead < 0xF0) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : low;   // overlong
        high = lead == 0xED ? 0x9F : high; // surrogates
    } else if (lead < 0xF5) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : low;   // overlong
        high = lead == 0xF4 ? 0x8F : high; // past U+10FFFF
    } else {
        return 0;
    }
    if (end - at < length)
        return -1;
    if (p[1] < low || p[1] > high)
        return 0;
    for (int i = 2; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
    }
    // U+FFFE and U+FFFF are not characters of XML.
    if (lead == 0xEF && p[1] == 0xBF && p[2] >= 0xBE)
        return 0;
    return length;
}

bool isXmlChar(std::uint32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

void appendUtf8(std::string &out, std::uint32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

bool equalsNoCase(std::string_view text, std::string_view lower)
{
    return text.size() == lower.size() && StartsWithNoCase(text, lower);
}

// The first eight and the last eight bytes of a name (the first alone, zero-filled, for a short
// one): with the length they are the name itself up to sixteen bytes. Reads eight bytes from
// `p` whatever the length; the buffer has room past its end for that.
void nameKey(const char *p, std::size_t length, std::uint64_t &head, std::uint64_t &tail)
{
    std::memcpy(&head, p, 8);
    if (length < 8)
        head &= (std::uint64_t{1} << (8 * length)) - 1;
    tail = 0;
    if (length > 8)
        std::memcpy(&tail, p + length - 8, 8);
}

class QuickParser
{
public:
    QuickParser(DocumentStore &store, const SourceRead &read, std::uint64_t total,
                const LoadProgress &progress)
        : m_store(store), m_read(read), m_progress(progress), m_total(total)
    {
    }

    // Throws Decline, Cancel or std::bad_alloc.
    void run();

private:
    // A name met before, with what an element's start asks of it.
    struct KnownName {
        std::uint64_t head = 0; // see nameKey()
        std::uint64_t tail = 0;
        std::uint32_t length = 0;
        NameId id = NAME_NONE;
        std::uint32_t prefixLength = 0; // before the colon; 0 without one
        bool declaration = false;       // "xmlns" or "xmlns:" and a prefix
        bool xmlSpace = false;
    };
    struct Open {
        NodeIndex node;
        KnownName name;
        bool preserve;
        std::size_t prefixes; // m_prefixes' size before the element's declarations
    };
    struct RawAttribute {
        std::string_view name;
        const char *value; // in the buffer, or null: the value is at `scratchAt` in m_scratch
        std::size_t valueLength;
        std::size_t scratchAt;
        KnownName known;
        std::string_view valueIn(const std::string &scratch) const
        {
            return value != nullptr ? std::string_view(value, valueLength)
                                    : std::string_view(scratch).substr(scratchAt, valueLength);
        }
    };

    // Moves what is left to the front of the buffer, growing it when that fills it, and reads
    // once, or (`more`) until the bytes left have at least doubled: an item that did not fit
    // is scanned again only after that, so a source that gives a few bytes a read does not make
    // a long item cost its length squared.
    void refill(bool more);
    void readDeclaration();
    bool markup();
    bool text();
    bool startTag();
    bool endTag();
    bool comment();
    bool processingInstruction();
    bool cdataSection();

    const char *scanName(const char *p) const;
    const char *skipSpace(const char *p) const
    {
        while (p < m_end && (byteClass(*p) & BYTE_SPACE) != 0)
            ++p;
        return p;
    }
    // Scans character data up to the two-byte terminator `first` `second` from `p`: the
    // position of `first`, or null when the buffer ends first. Sets `lineEnds` when a CR needs
    // normalising.
    const char *scanUntil(const char *p, char first, char second, bool &lineEnds) const;
    const char *attributeValue(const char *p, char quote, RawAttribute &attribute);
    const char *reference(const char *p, std::string &out) const;
    // The length of the UTF-8 character at `p`, 0 when it runs past the buffer; declines bytes
    // that are not a character of XML.
    int characterAt(const char *p) const
    {
        const int length = characterLength(p, m_end);
        if (length == 0)
            throw Decline();
        return std::max(length, 0);
    }

    // `name` is in the buffer.
    KnownName lookName(std::string_view name);
    bool sameName(const KnownName &known, const KnownName &key, std::string_view name) const
    {
        return known.id != NAME_NONE && known.head == key.head && known.tail == key.tail &&
               known.length == key.length && (key.length <= 16 || m_store.name(known.id) == name);
    }
    bool declared(std::string_view prefix) const;
    void openElement(std::string_view name, bool empty);
    void closeElement();
    NodeIndex append(NodeType kind, NameId name);
    void leaf(NodeType kind, NameId name, std::string_view value);
    std::string_view normalised(std::string_view text, bool lineEnds);
    void appendText(const char *from, const char *to);
    void holdText();
    void flushText();

    DocumentStore &m_store;
    const SourceRead &m_read;
    const LoadProgress &m_progress;
    std::uint64_t m_total;
    std::uint64_t m_done = 0;

    std::unique_ptr<char[]> m_buffer;
    std::size_t m_capacity = 0;
    const char *m_pos = nullptr;
    const char *m_end = nullptr;
    bool m_eof = false;

    std::vector<Open> m_open;
    bool m_rootDone = false;
    std::vector<std::string_view> m_prefixes; // declared prefixes in scope, views of names
    std::vector<RawAttribute> m_attributes;
    std::string m_scratch; // attribute values that needed decoding
    std::string m_copy;    // a value with its line ends normalised

    // Text waiting for the next node: a view into the buffer while it is one plain run, else
    // a copy.
    std::string_view m_textView;
    std::string m_text;

    std::array<KnownName, kNameCacheSize> m_nameCache{};
};

void QuickParser::run()
{
    do
        refill(true);
    while (!m_eof && static_cast<std::size_t>(m_end - m_pos) < kLongestDeclaration);
    readDeclaration();
    for (;;) {
        if (m_pos == m_end) {
            if (m_eof)
                break;
            refill(false);
            continue;
        }
        const bool complete = *m_pos == '<' ? markup() : text();
        if (!complete) {
            // What is left cannot be whole: libxml2 says what is wrong with it.
            if (m_eof)
                throw Decline();
            refill(true);
        }
    }
    if (!m_rootDone || !m_open.empty())
        throw Decline();
    flushText();
}

void QuickParser::refill(bool more)
{
    holdText();
    const std::size_t kept = static_cast<std::size_t>(m_end - m_pos);
    if (m_buffer == nullptr || (kept == m_capacity && m_pos == m_buffer.get())) {
        // Start, or one item fills the whole buffer: it grows.
        const std::size_t capacity = m_buffer == nullptr ? kFirstBuffer : m_capacity * 2;
        if (capacity > kLargestBuffer)
            throw Decline();
        // Zeroed, with room past the end: nameKey() reads eight bytes at a name.
        auto grown = std::make_unique<char[]>(capacity + 16);
        if (kept > 0)
            std::memcpy(grown.get(), m_pos, kept);
        m_buffer = std::move(grown);
        m_capacity = capacity;
    } else if (kept > 0) {
        std::memmove(m_buffer.get(), m_pos, kept);
    }
    char *const start = m_buffer.get();
    char *end = start + kept;
    const std::size_t wanted = more ? std::min(m_capacity, 2 * kept + 1) : kept + 1;
    while (!m_eof && end < start + wanted) {
        const auto want =
            static_cast<int>(std::min<std::size_t>(start + m_capacity - end, 1 << 30));
        const int count = m_read(end, want);
        if (count < 0)
            throw Decline(); // libxml2's load reads again and reports the failure
        if (count == 0)
            m_eof = true;
        end += count;
        m_done += static_cast<std::uint64_t>(count);
    }
    m_pos = start;
    m_end = end;
    if (m_progress && !m_progress(m_done, m_total))
        throw Cancel();
}

void QuickParser::readDeclaration()
{
    if (m_end - m_pos >= 3 && std::memcmp(m_pos, "\xEF\xBB\xBF", 3) == 0)
        m_pos += 3;
    // Other byte order marks and encodings that are not ASCII-compatible.
    if (m_pos == m_end || (*m_pos != '<' && (byteClass(*m_pos) & BYTE_SPACE) == 0))
        throw Decline();
    if (m_end - m_pos < 6 || std::memcmp(m_pos, "<?xml", 5) != 0 ||
        (byteClass(m_pos[5]) & BYTE_SPACE) == 0)
        return; // no declaration
    const std::string_view head(m_pos, std::min<std::size_t>(m_end - m_pos, kLongestDeclaration));
    const std::size_t close = head.find("?>");
    if (close == std::string_view::npos)
        throw Decline();
    const std::string_view body = head.substr(5, close - 5);
    // version, then encoding and standalone if there, each after white space.
    std::size_t at = 0;
    auto pseudoAttribute = [&](std::string_view name) -> std::string_view {
        const std::size_t start = at;
        while (at < body.size() && IsXmlSpace(body[at]))
            ++at;
        if (at == start || body.substr(at, name.size()) != name) {
            at = start;
            return {};
        }
        at += name.size();
        while (at < body.size() && IsXmlSpace(body[at]))
            ++at;
        if (at == body.size() || body[at] != '=')
            throw Decline();
        ++at;
        while (at < body.size() && IsXmlSpace(body[at]))
            ++at;
        if (at == body.size() || (body[at] != '"' && body[at] != '\''))
            throw Decline();
        const char quote = body[at++];
        const std::size_t end = body.find(quote, at);
        if (end == std::string_view::npos)
            throw Decline();
        const std::string_view value = body.substr(at, end - at);
        at = end + 1;
        if (value.empty())
            throw Decline();
        return value;
    };
    if (pseudoAttribute("version") != "1.0")
        throw Decline();
    if (const std::string_view encoding = pseudoAttribute("encoding");
        !encoding.empty() && !equalsNoCase(encoding, "utf-8"))
        throw Decline();
    if (const std::string_view standalone = pseudoAttribute("standalone");
        !standalone.empty() && standalone != "yes" && standalone != "no")
        throw Decline();
    while (at < body.size() && IsXmlSpace(body[at]))
        ++at;
    if (at != body.size())
        throw Decline();
    // The node holds the declaration as written, without its outer white space.
    m_copy = XmlDeclarationData(body);
    leaf(NODE_PROCESSING_INSTRUCTION, m_store.intern("xml"), m_copy);
    m_pos += close + 2;
}

bool QuickParser::markup()
{
    const std::size_t available = static_cast<std::size_t>(m_end - m_pos);
    if (available < 2)
        return false;
    switch (m_pos[1]) {
    case '/':
        return endTag();
    case '?':
        return processingInstruction();
    case '!':
        if (available < 4)
            return false;
        if (m_pos[2] == '-' && m_pos[3] == '-')
            return comment();
        if (available < 9)
            return false;
        if (std::memcmp(m_pos, "<![CDATA[", 9) == 0 && !m_open.empty())
            return cdataSection();
        throw Decline(); // a document type declaration, or a fault
    default:
        return startTag();
    }
}

const char *QuickParser::scanName(const char *p) const
{
    if (p == m_end)
        return nullptr;
    if ((byteClass(*p) & BYTE_NAME_START) == 0)
        throw Decline();
    const char *q = p + 1;
    while (q < m_end && (byteClass(*q) & BYTE_NAME) != 0)
        ++q;
    if (q == m_end)
        return nullptr;
    if (static_cast<std::size_t>(q - p) > kLongestName)
        throw Decline();
    return q;
}

QuickParser::KnownName QuickParser::lookName(std::string_view name)
{
    KnownName key;
    key.length = static_cast<std::uint32_t>(name.size());
    nameKey(name.data(), name.size(), key.head, key.tail);
    const std::uint64_t hash =
        ((key.head * 0x9E3779B97F4A7C15ull) ^ (key.tail * 0xC2B2AE3D27D4EB4Full) ^ key.length) *
        0xFF51AFD7ED558CCDull;
    // Two places a name may sit, so that two names of one slot do not keep evicting each other.
    static_assert(kNameCacheSize == 1024, "the slots are ten bits of the hash");
    KnownName &first = m_nameCache[hash >> 54];
    if (sameName(first, key, name))
        return first;
    KnownName &second = m_nameCache[(hash >> 40) & (kNameCacheSize - 1)];
    if (sameName(second, key, name))
        return second;
    // Names that libxml2 reads with a namespace complaint ("a:", "a:b:c") are its to load.
    if (!IsQualifiedXmlName(name))
        throw Decline();
    key.id = m_store.intern(name);
    const std::size_t colon = name.find(':');
    key.prefixLength = colon == std::string_view::npos ? 0 : static_cast<std::uint32_t>(colon);
    key.declaration = IsNamespaceDeclaration(name);
    key.xmlSpace = name == "xml:space";
    (first.id == NAME_NONE || second.id != NAME_NONE ? first : second) = key;
    return key;
}

bool QuickParser::declared(std::string_view prefix) const
{
    return std::find(m_prefixes.rbegin(), m_prefixes.rend(), prefix) != m_prefixes.rend();
}

NodeIndex QuickParser::append(NodeType kind, NameId name)
{
    const NodeIndex node = m_store.newNode(kind, name);
    if (node == kNoNode)
        throw Decline(); // libxml2's load says the store is full
    m_store.linkLast(m_open.empty() ? m_store.documentNode() : m_open.back().node, node, false);
    return node;
}

void QuickParser::leaf(NodeType kind, NameId name, std::string_view value)
{
    flushText();
    m_store.setValue(append(kind, name), value);
}

std::string_view QuickParser::normalised(std::string_view text, bool lineEnds)
{
    if (!lineEnds)
        return text;
    m_copy.clear();
    AppendNormalisedLineEnds(m_copy, text);
    return m_copy;
}

void QuickParser::appendText(const char *from, const char *to)
{
    if (from == to)
        return;
    if (m_textView.empty() && m_text.empty()) {
        m_textView = std::string_view(from, static_cast<std::size_t>(to - from));
        return;
    }
    holdText();
    m_text.append(from, to);
}

void QuickParser::holdText()
{
    if (!m_textView.empty()) {
        m_text.assign(m_textView);
        m_textView = {};
    }
}

void QuickParser::flushText()
{
    const std::string_view text = m_textView.empty() ? std::string_view(m_text) : m_textView;
    if (text.empty())
        return;
    // Text made only of white space is layout, unless xml:space asks to keep it; the document
    // node holds no text at all.
    if (!m_open.empty() && (m_open.back().preserve || !IsXmlWhiteSpace(text)))
        m_store.setValue(append(NODE_TEXT, NAME_TEXT), text);
    m_textView = {};
    m_text.clear();
}

const char *QuickParser::reference(const char *p, std::string &out) const
{
    // "&#x10FFFF;" and the named ones fit; numbers with many leading zeros go to libxml2.
    constexpr std::size_t kLongest = 12;
    const char *limit = std::min(m_end, p + kLongest);
    const char *semicolon = static_cast<const char *>(std::memchr(p, ';', limit - p));
    if (semicolon == nullptr) {
        if (limit == m_end && !m_eof)
            return nullptr;
        throw Decline();
    }
    const std::string_view name(p + 1, static_cast<std::size_t>(semicolon - p - 1));
    if (name == "amp") {
        out.push_back('&');
    } else if (name == "lt") {
        out.push_back('<');
    } else if (name == "gt") {
        out.push_back('>');
    } else if (name == "quot") {
        out.push_back('"');
    } else if (name == "apos") {
        out.push_back('\'');
    } else if (name.size() >= 2 && name[0] == '#') {
        const bool hex = name[1] == 'x';
        const std::string_view digits = name.substr(hex ? 2 : 1);
        if (digits.empty())
            throw Decline();
        std::uint32_t value = 0;
        for (const char c : digits) {
            int digit = -1;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (hex && c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            if (digit < 0)
                throw Decline();
            value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
            if (value > 0x10FFFF)
                throw Decline();
        }
        if (!isXmlChar(value))
            throw Decline();
        appendUtf8(out, value);
    } else {
        throw Decline(); // an entity this reader does not know
    }
    return semicolon + 1;
}

bool QuickParser::text()
{
    if (m_open.empty()) {
        // Outside the document element only white space may stand, and none of it is kept.
        const char *p = skipSpace(m_pos);
        if (p < m_end && *p != '<')
            throw Decline();
        m_pos = p;
        return true;
    }
    if (m_textView.empty() && m_text.empty() && !m_open.back().preserve) {
        // Layout between two tags: nothing to keep.
        const char *p = skipSpace(m_pos);
        if (p < m_end && *p == '<') {
            m_pos = p;
            return true;
        }
    }
    const char *run = m_pos;
    const char *p = m_pos;
    for (;;) {
        p = findSpecial(p, m_end, '<', '&', ']');
        if (p == m_end || *p == '<')
            break;
        const auto c = static_cast<unsigned char>(*p);
        if (c == '\n' || c == '\t') {
            ++p;
        } else if (c == ']') {
            if (m_end - p < 3 && !m_eof)
                break; // "]]>" would be a fault: look at it with the next bytes
            if (m_end - p >= 3 && p[1] == ']' && p[2] == '>')
                throw Decline();
            ++p;
        } else if (c >= 0x80) {
            const int length = characterAt(p);
            if (length == 0)
                break;
            p += length;
        } else if (c == '&') {
            appendText(run, p);
            holdText();
            run = p;
            const char *next = reference(p, m_text);
            if (next == nullptr)
                break;
            p = run = next;
        } else if (c == '\r') {
            if (p + 1 == m_end && !m_eof)
                break;
            appendText(run, p);
            holdText();
            m_text.push_back('\n');
            p += p + 1 < m_end && p[1] == '\n' ? 2 : 1;
            run = p;
        } else {
            throw Decline(); // a control character
        }
    }
    appendText(run, p);
    m_pos = p;
    return p == m_end || *p == '<';
}

const char *QuickParser::attributeValue(const char *p, char quote, RawAttribute &attribute)
{
    const char *q = findSpecial(p, m_end, quote, '<', '&');
    if (q < m_end && *q == quote) {
        attribute.value = p;
        attribute.valueLength = static_cast<std::size_t>(q - p);
        return q + 1;
    }
    // White space becomes a space, references their characters: the value is copied.
    attribute.value = nullptr;
    attribute.scratchAt = m_scratch.size();
    m_scratch.append(p, q);
    for (;;) {
        if (q == m_end)
            return nullptr;
        const auto c = static_cast<unsigned char>(*q);
        if (c == static_cast<unsigned char>(quote))
            break;
        if (c == '<') {
            throw Decline();
        } else if (c == '&') {
            q = reference(q, m_scratch);
            if (q == nullptr)
                return nullptr;
        } else if (c == '\r') {
            if (q + 1 == m_end)
                return nullptr;
            m_scratch.push_back(' ');
            q += q[1] == '\n' ? 2 : 1;
        } else if (c == '\t' || c == '\n') {
            m_scratch.push_back(' ');
            ++q;
        } else if (c >= 0x80) {
            const int length = characterAt(q);
            if (length == 0)
                return nullptr;
            m_scratch.append(q, q + length);
            q += length;
        } else {
            throw Decline(); // a control character
        }
        const char *plain = findSpecial(q, m_end, quote, '<', '&');
        m_scratch.append(q, plain);
        q = plain;
    }
    attribute.valueLength = m_scratch.size() - attribute.scratchAt;
    return q + 1;
}

bool QuickParser::startTag()
{
    const char *nameEnd = scanName(m_pos + 1);
    if (nameEnd == nullptr)
        return false;
    const std::string_view name(m_pos + 1, static_cast<std::size_t>(nameEnd - m_pos - 1));
    m_attributes.clear();
    m_scratch.clear();
    const char *c = nameEnd;
    bool empty = false;
    for (;;) {
        const char *before = c;
        c = skipSpace(c);
        if (c == m_end)
            return false;
        if (*c == '>') {
            ++c;
            break;
        }
        if (*c == '/') {
            if (c + 1 == m_end)
                return false;
            if (c[1] != '>')
                throw Decline();
            c += 2;
            empty = true;
            break;
        }
        if (c == before)
            throw Decline(); // attributes are set apart by white space
        RawAttribute attribute{};
        const char *attributeEnd = scanName(c);
        if (attributeEnd == nullptr)
            return false;
        attribute.name = std::string_view(c, static_cast<std::size_t>(attributeEnd - c));
        c = skipSpace(attributeEnd);
        if (c == m_end)
            return false;
        if (*c != '=')
            throw Decline();
        c = skipSpace(c + 1);
        if (c == m_end)
            return false;
        if (*c != '"' && *c != '\'')
            throw Decline();
        c = attributeValue(c + 1, *c, attribute);
        if (c == nullptr)
            return false;
        if (m_attributes.size() == kMostAttributes)
            throw Decline();
        m_attributes.push_back(attribute);
    }
    openElement(name, empty);
    m_pos = c;
    return true;
}

void QuickParser::openElement(std::string_view name, bool empty)
{
    if (m_open.empty() && m_rootDone)
        throw Decline(); // a second document element
    if (m_open.size() >= kDeepest)
        throw Decline();
    const KnownName element = lookName(name);
    const std::size_t prefixesBefore = m_prefixes.size();
    for (RawAttribute &attribute : m_attributes) {
        attribute.known = lookName(attribute.name);
        if (!attribute.known.declaration)
            continue;
        const std::string_view value = attribute.valueIn(m_scratch);
        // What libxml2 refuses or complains of in a declaration is left to it.
        if (value == "http://www.w3.org/XML/1998/namespace" ||
            value == "http://www.w3.org/2000/xmlns/")
            throw Decline();
        if (attribute.known.prefixLength != 0) {
            const std::string_view prefix = m_store.name(attribute.known.id).substr(6);
            if (value.empty() || prefix == "xml" || prefix == "xmlns")
                throw Decline();
            m_prefixes.push_back(prefix);
        }
    }
    // Every prefix must be declared (the xml prefix always is).
    auto checkPrefix = [this](std::string_view qualifiedName, std::uint32_t prefixLength) {
        const std::string_view prefix = qualifiedName.substr(0, prefixLength);
        if (prefixLength != 0 && prefix != "xml" && !declared(prefix))
            throw Decline();
    };
    checkPrefix(name, element.prefixLength);
    for (const RawAttribute &attribute : m_attributes) {
        if (!attribute.known.declaration)
            checkPrefix(attribute.name, attribute.known.prefixLength);
    }
    // Repeated attributes, and two namespaced ones of one local name (libxml2 compares their
    // namespaces), are left to libxml2.
    for (std::size_t i = 1; i < m_attributes.size(); ++i) {
        const RawAttribute &a = m_attributes[i];
        for (std::size_t j = 0; j < i; ++j) {
            const RawAttribute &b = m_attributes[j];
            if (a.known.id == b.known.id ||
                (!a.known.declaration && !b.known.declaration && a.known.prefixLength != 0 &&
                 b.known.prefixLength != 0 &&
                 a.name.substr(a.known.prefixLength) == b.name.substr(b.known.prefixLength)))
                throw Decline();
        }
    }

    flushText();
    const NodeIndex node = append(NODE_ELEMENT, element.id);
    bool preserve = m_open.empty() ? m_store.preserveWhiteSpace : m_open.back().preserve;
    // Namespace declarations lead, as libxml2 reports them apart from the other attributes.
    for (const bool declarations : {true, false}) {
        for (const RawAttribute &attribute : m_attributes) {
            if (attribute.known.declaration != declarations)
                continue;
            const std::string_view value = attribute.valueIn(m_scratch);
            const NodeIndex attributeNode = m_store.newNode(NODE_ATTRIBUTE, attribute.known.id);
            if (attributeNode == kNoNode)
                throw Decline();
            m_store.setValue(attributeNode, value);
            m_store.linkLast(node, attributeNode, true);
            if (attribute.known.xmlSpace)
                preserve = value == "preserve" ? true : value == "default" ? false : preserve;
        }
    }
    m_open.push_back({node, element, preserve, prefixesBefore});
    if (empty)
        closeElement();
}

void QuickParser::closeElement()
{
    flushText();
    m_prefixes.resize(m_open.back().prefixes);
    m_open.pop_back();
    if (m_open.empty())
        m_rootDone = true;
}

bool QuickParser::endTag()
{
    if (m_open.empty())
        throw Decline();
    const char *nameEnd = scanName(m_pos + 2);
    if (nameEnd == nullptr)
        return false;
    const std::string_view name(m_pos + 2, static_cast<std::size_t>(nameEnd - m_pos - 2));
    KnownName key;
    key.length = static_cast<std::uint32_t>(name.size());
    nameKey(name.data(), name.size(), key.head, key.tail);
    if (!sameName(m_open.back().name, key, name))
        throw Decline();
    const char *c = skipSpace(nameEnd);
    if (c == m_end)
        return false;
    if (*c != '>')
        throw Decline();
    closeElement();
    m_pos = c + 1;
    return true;
}

const char *QuickParser::scanUntil(const char *p, char first, char second, bool &lineEnds) const
{
    for (;;) {
        p = findSpecial(p, m_end, first, first, first);
        if (p == m_end)
            return nullptr;
        const auto c = static_cast<unsigned char>(*p);
        if (c == static_cast<unsigned char>(first)) {
            if (p + 1 == m_end)
                return nullptr;
            if (p[1] == second)
                return p;
            ++p;
        } else if (c == '\n' || c == '\t') {
            ++p;
        } else if (c == '\r') {
            lineEnds = true;
            ++p;
        } else if (c >= 0x80) {
            const int length = characterAt(p);
            if (length == 0)
                return nullptr;
            p += length;
        } else {
            throw Decline(); // a control character
        }
    }
}

bool QuickParser::comment()
{
    const char *start = m_pos + 4;
    bool lineEnds = false;
    const char *dashes = scanUntil(start, '-', '-', lineEnds);
    if (dashes == nullptr)
        return false;
    if (dashes + 2 == m_end)
        return false;
    if (dashes[2] != '>')
        throw Decline(); // "--" inside a comment
    leaf(NODE_COMMENT, NAME_COMMENT,
         normalised(std::string_view(start, static_cast<std::size_t>(dashes - start)), lineEnds));
    m_pos = dashes + 3;
    return true;
}

bool QuickParser::processingInstruction()
{
    const char *target = m_pos + 2;
    const char *targetEnd = scanName(target);
    if (targetEnd == nullptr)
        return false;
    const std::string_view name(target, static_cast<std::size_t>(targetEnd - target));
    // "xml" in any case is reserved; libxml2 complains of colons in a target.
    if (equalsNoCase(name, "xml") || name.find(':') != std::string_view::npos)
        throw Decline();
    const char *data = skipSpace(targetEnd);
    if (data == m_end)
        return false;
    if (data == targetEnd && *data != '?')
        throw Decline(); // white space must part the target from the data
    bool lineEnds = false;
    const char *close = scanUntil(data, '?', '>', lineEnds);
    if (close == nullptr)
        return false;
    if (data == targetEnd && close != data)
        throw Decline();
    leaf(NODE_PROCESSING_INSTRUCTION, lookName(name).id,
         normalised(std::string_view(data, static_cast<std::size_t>(close - data)), lineEnds));
    m_pos = close + 2;
    return true;
}

bool QuickParser::cdataSection()
{
    const char *start = m_pos + 9;
    bool lineEnds = false;
    const char *p = start;
    // "]]>" ends the section; "]]" alone and "]" do not.
    for (;;) {
        p = scanUntil(p, ']', ']', lineEnds);
        if (p == nullptr || p + 2 >= m_end)
            return false;
        if (p[2] == '>')
            break;
        ++p;
    }
    leaf(NODE_CDATA_SECTION, NAME_CDATA,
         normalised(std::string_view(start, static_cast<std::size_t>(p - start)), lineEnds));
    m_pos = p + 3;
    return true;
}

} // namespace

QuickParse QuickParseIntoStore(DocumentStore &store, const SourceRead &read,
                               std::uint64_t inputSize, const LoadProgress &progress)
{
    const DocumentStore::Mark mark = store.mark();
    const NodeRecord document = store.at(store.documentNode());
    auto restore = [&] {
        store.edit(store.documentNode()) = document;
        store.rollback(mark);
    };
    ParseError &result = store.parseError;
    try {
        QuickParser(store, read, inputSize, progress).run();
        result.errorCode = 0;
        result.line = result.linepos = 0;
        result.reason.clear();
        return QuickParse::Loaded;
    } catch (const Decline &) {
        restore();
        return QuickParse::Declined;
    } catch (const Cancel &) {
        restore();
        result.errorCode = DOM_E_CANCELLED;
        result.reason = "The load was cancelled.\n";
    } catch (const std::bad_alloc &) {
        restore();
        result.errorCode = E_OUTOFMEMORY;
        result.reason = "Not enough memory to load the document.\n";
    }
    result.line = result.linepos = 0;
    return QuickParse::Stopped;
}

bool QuickParsingEnabled()
{
    static const bool enabled = [] {
        const char *setting = std::getenv("PELLIX_QUICK_PARSE");
        return setting == nullptr || std::string_view(setting) != "0";
    }();
    return enabled;
}

} // namespace dom
