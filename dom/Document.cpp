#include "Document.h"

#include "NodeStore.h"
#include "QuickParser.h"
#include "SaxLoader.h"
#include "UrlFetch.h"
#include "XmlName.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace dom
{
namespace
{

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// file:///a/b%20c and file://localhost/a/b name the local path /a/b c and /a/b.
std::string pathOfFileUrl(std::string_view url)
{
    std::string_view rest = url.substr(7);
    if (StartsWithNoCase(rest, "localhost/"))
        rest.remove_prefix(9);
    std::string path;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '%' && i + 2 < rest.size() && hexValue(rest[i + 1]) >= 0 &&
            hexValue(rest[i + 2]) >= 0) {
            path.push_back(static_cast<char>(hexValue(rest[i + 1]) * 16 + hexValue(rest[i + 2])));
            i += 2;
        } else {
            path.push_back(rest[i]);
        }
    }
    return path;
}

HRESULT unreadable(DocumentStore &store, std::string reason)
{
    store.parseError.errorCode = DOM_E_RESOURCE_NOT_FOUND;
    store.parseError.line = 0;
    store.parseError.linepos = 0;
    store.parseError.reason = std::move(reason) + "\n";
    return DOM_E_RESOURCE_NOT_FOUND;
}

// Plain documents are read by the quick parser; what it declines, libxml2 reads from the start.
HRESULT parseSource(DocumentStore &store, const SourceRead &read,
                    const std::function<bool()> &rewind, std::uint64_t size,
                    const LoadProgress &progress)
{
    if (QuickParsingEnabled()) {
        switch (QuickParseIntoStore(store, read, size, progress)) {
        case QuickParse::Loaded:
            return S_OK;
        case QuickParse::Stopped:
            return store.parseError.errorCode;
        case QuickParse::Declined:
            break;
        }
        if (!rewind())
            return unreadable(store, "The source could not be read again from its start.");
    }
    return ParseIntoStore(store, read, size, progress);
}

HRESULT parseMemory(DocumentStore &store, std::string_view text, const LoadProgress &progress = {})
{
    std::size_t offset = 0;
    const SourceRead read = [&](char *buffer, int size) {
        const std::size_t count = std::min<std::size_t>(size, text.size() - offset);
        std::memcpy(buffer, text.data() + offset, count);
        offset += count;
        return static_cast<int>(count);
    };
    const auto rewind = [&] {
        offset = 0;
        return true;
    };
    return parseSource(store, read, rewind, text.size(), progress);
}

// Why a path is not a file we read, or nullptr for a regular file.
const char *notAFile(const struct stat &info)
{
    if (S_ISDIR(info.st_mode))
        return "It is a folder.";
    return S_ISREG(info.st_mode) ? nullptr : "It is not a regular file.";
}

class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

constexpr std::size_t kReadBlock = std::size_t{256} << 10;

HRESULT cancelled(DocumentStore &store)
{
    store.parseError.errorCode = DOM_E_CANCELLED;
    store.parseError.line = 0;
    store.parseError.linepos = 0;
    store.parseError.reason = "The load was cancelled.\n";
    return DOM_E_CANCELLED;
}

HRESULT parseFile(DocumentStore &store, const std::string &path, const LoadProgress &progress)
{
    // Only a regular file is opened: opening a FIFO waits for a writer, a device may never end
    // or do something on open. The check is made again on the open file, which cannot change.
    struct stat info = {};
    if (::stat(path.c_str(), &info) != 0)
        return unreadable(store, std::strerror(errno));
    if (const char *why = notAFile(info))
        return unreadable(store, why);
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0)
        return unreadable(store, std::strerror(errno));
    if (::fstat(file.get(), &info) != 0)
        return unreadable(store, std::strerror(errno));
    if (const char *why = notAFile(info))
        return unreadable(store, why);
    // Read to the end whatever the size says: files under /proc say 0. libxml2 asks for a few
    // kilobytes at a time; the file is read in larger blocks, a system call each.
    int readError = 0;
    std::vector<char> block(kReadBlock);
    std::size_t blockPos = 0;
    std::size_t blockEnd = 0;
    const SourceRead read = [&](char *buffer, int size) {
        // A large request is read straight into the caller's buffer.
        while (blockPos == blockEnd && static_cast<std::size_t>(size) >= block.size()) {
            const ssize_t count = ::read(file.get(), buffer, static_cast<std::size_t>(size));
            if (count >= 0)
                return static_cast<int>(count);
            if (errno != EINTR) {
                readError = errno;
                return -1;
            }
        }
        while (blockPos == blockEnd) {
            const ssize_t count = ::read(file.get(), block.data(), block.size());
            if (count == 0)
                return 0;
            if (count > 0) {
                blockPos = 0;
                blockEnd = static_cast<std::size_t>(count);
            } else if (errno != EINTR) {
                readError = errno;
                return -1;
            }
        }
        const std::size_t count = std::min(static_cast<std::size_t>(size), blockEnd - blockPos);
        std::memcpy(buffer, block.data() + blockPos, count);
        blockPos += count;
        return static_cast<int>(count);
    };
    const auto rewind = [&] {
        blockPos = blockEnd = 0;
        readError = 0;
        return ::lseek(file.get(), 0, SEEK_SET) == 0;
    };
    const HRESULT result =
        parseSource(store, read, rewind, static_cast<std::uint64_t>(info.st_size), progress);
    if (readError != 0 && result == DOM_E_RESOURCE_NOT_FOUND)
        store.parseError.reason = std::string(std::strerror(readError)) + "\n";
    return result;
}

} // namespace

Document::Document(std::shared_ptr<DocumentStore> store) : Node(std::move(store), 1) {}

Document Document::create()
{
    return Document(std::make_shared<DocumentStore>());
}

void Document::clearChildren()
{
    while (Node child = firstChild())
        removeChild(child);
}

HRESULT Document::runLoad(std::string_view url,
                          const std::function<HRESULT(DocumentStore &)> &parse)
{
    clearChildren();
    DocumentStore &store = *m_store;
    const DocumentStore::Mark before = store.mark();
    store.parseError = ParseError();
    HRESULT result = E_OUTOFMEMORY;
    try {
        store.parseError.url = std::string(url);
        result = parse(store);
    } catch (const std::bad_alloc &) {
        store.parseError.errorCode = E_OUTOFMEMORY;
    }
    if (result == S_OK)
        return S_OK;
    // Nothing outside the load knows its nodes: the memory goes back before anyone reports.
    clearChildren();
    store.rollback(before);
    if (result == E_OUTOFMEMORY && store.parseError.reason.empty()) {
        try {
            store.parseError.reason = "Not enough memory to load the document.\n";
        } catch (const std::bad_alloc &) {
            // The code says it all.
        }
    }
    return result;
}

HRESULT Document::load(std::string_view source)
{
    return load(source, {});
}

HRESULT Document::load(std::string_view source, const LoadProgress &progress)
{
    if (isNull())
        return E_POINTER;
    return runLoad(source, [source, &progress](DocumentStore &store) {
        if (StartsWithNoCase(source, "http://") || StartsWithNoCase(source, "https://")) {
            std::string body;
            std::string error;
            if (!FetchUrl(std::string(source), &body, &error, 30, progress))
                return error == kFetchCancelled ? cancelled(store) : unreadable(store, error);
            return parseMemory(store, body, progress);
        }
        if (StartsWithNoCase(source, "file://"))
            return parseFile(store, pathOfFileUrl(source), progress);
        return parseFile(store, std::string(source), progress);
    });
}

HRESULT Document::loadXML(std::string_view text, std::string_view url)
{
    if (isNull())
        return E_POINTER;
    return runLoad(url, [text](DocumentStore &store) { return parseMemory(store, text); });
}

const ParseError &Document::parseError() const
{
    static const ParseError none;
    return isNull() ? none : m_store->parseError;
}

void Document::setPreserveWhiteSpace(bool preserve)
{
    if (!isNull())
        m_store->preserveWhiteSpace = preserve;
}

bool Document::preserveWhiteSpace() const
{
    return !isNull() && m_store->preserveWhiteSpace;
}

HRESULT Document::createNode(NodeType type, std::string_view name, Node *out) const
{
    if (out == nullptr)
        return E_POINTER;
    *out = Node();
    if (isNull())
        return E_POINTER;
    NameId id = NAME_NONE;
    switch (type) {
    case NODE_ELEMENT:
    case NODE_ATTRIBUTE:
    case NODE_PROCESSING_INSTRUCTION:
        if (type == NODE_PROCESSING_INSTRUCTION ? !IsXmlName(name) : !IsQualifiedXmlName(name))
            return E_FAIL;
        id = m_store->intern(name);
        break;
    case NODE_TEXT:
        id = NAME_TEXT;
        break;
    case NODE_CDATA_SECTION:
        id = NAME_CDATA;
        break;
    case NODE_COMMENT:
        id = NAME_COMMENT;
        break;
    default:
        return E_INVALIDARG;
    }
    const NodeIndex index = m_store->newNode(type, id);
    if (index == kNoNode)
        return E_OUTOFMEMORY;
    *out = make(index);
    return S_OK;
}

namespace
{
Node createWithValue(const Document &document, NodeType type, std::string_view name,
                     std::string_view value)
{
    Node node;
    if (FAILED(document.createNode(type, name, &node)))
        return Node();
    node.setNodeValue(value);
    return node;
}
} // namespace

Node Document::importNode(const Node &node, bool deep) const
{
    if (isNull() || node.isNull() || node.nodeType() == NODE_DOCUMENT)
        return Node();
    return make(m_store->cloneFrom(*node.m_store, node.m_index, deep));
}

Node Document::createElement(std::string_view name) const
{
    Node node;
    createNode(NODE_ELEMENT, name, &node);
    return node;
}

Node Document::createAttribute(std::string_view name) const
{
    return createWithValue(*this, NODE_ATTRIBUTE, name, {});
}

Node Document::createTextNode(std::string_view text) const
{
    return createWithValue(*this, NODE_TEXT, {}, text);
}

Node Document::createComment(std::string_view text) const
{
    return createWithValue(*this, NODE_COMMENT, {}, text);
}

Node Document::createCDATASection(std::string_view text) const
{
    return createWithValue(*this, NODE_CDATA_SECTION, {}, text);
}

Node Document::createProcessingInstruction(std::string_view target, std::string_view data) const
{
    return createWithValue(*this, NODE_PROCESSING_INSTRUCTION, target, data);
}

Node Document::createDocumentType(std::string_view name, std::string_view declaration) const
{
    if (isNull() || !IsXmlName(name))
        return Node();
    const NodeIndex index = m_store->newNode(NODE_DOCUMENT_TYPE, m_store->intern(name));
    if (index == kNoNode)
        return Node();
    // Not through setNodeValue: the declaration is read-only for everyone else.
    m_store->setValue(index, declaration);
    return make(index);
}

Node Document::documentElement() const
{
    for (Node child = firstChild(); child; child = child.nextSibling()) {
        if (child.nodeType() == NODE_ELEMENT)
            return child;
    }
    return Node();
}

Document Document::snapshot() const
{
    return isNull() ? Document() : Document(m_store->snapshot());
}

Node Document::nodeOf(const Node &node) const
{
    if (isNull() || node.isNull() || node.m_index >= m_store->nodeCount())
        return Node();
    return Node(m_store, node.m_index);
}

std::size_t Document::nodeCount() const
{
    return isNull() ? 0 : m_store->nodeCount() - 1;
}

std::size_t Document::memoryUsed() const
{
    return isNull() ? 0 : m_store->memoryUsed();
}

} // namespace dom
