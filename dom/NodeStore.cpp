#include "NodeStore.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <limits>
#include <utility>

namespace dom
{

DocumentStore::DocumentStore()
{
    for (const char *reserved :
         {"", "#document", "#text", "#cdata-section", "#comment", "#document-fragment"}) {
        intern(reserved);
    }
    newNode(NODE_INVALID, NAME_NONE); // index 0 stands for "no node"
    newNode(NODE_DOCUMENT, NAME_DOCUMENT);
}

DocumentStore::~DocumentStore() = default;

NodeIndex DocumentStore::newNode(NodeType kind, NameId name)
{
    if (m_count >= std::numeric_limits<NodeIndex>::max())
        return kNoNode;
    const auto index = static_cast<NodeIndex>(m_count);
    if ((index & kPageMask) == 0)
        m_pages.emplace_back(new NodeRecord[std::size_t{1} << kPageBits]);
    ++m_count;
    NodeRecord &record = edit(index);
    record.kind = kind;
    record.name = name;
    if (!HasChildList(kind)) {
        record.value = "";
    }
    return index;
}

const char *DocumentStore::copyString(std::string_view text)
{
    if (text.empty())
        return "";
    if (text.size() > kChunkSize / 8) {
        m_chunkBytes += text.size();
        // Large values get a block of their own, so they don't waste the shared chunk.
        m_chunks.push_back(std::shared_ptr<char[]>(new char[text.size()]));
        std::memcpy(m_chunks.back().get(), text.data(), text.size());
        return m_chunks.back().get();
    }
    if (m_chunkLeft < text.size()) {
        // Not zeroed: only the bytes copied in are ever read, and a small document touches
        // little of the chunk.
        m_chunks.push_back(std::shared_ptr<char[]>(new char[kChunkSize]));
        m_chunkBytes += kChunkSize;
        m_chunkPos = m_chunks.back().get();
        m_chunkLeft = kChunkSize;
    }
    char *copy = m_chunkPos;
    std::memcpy(copy, text.data(), text.size());
    m_chunkPos += text.size();
    m_chunkLeft -= text.size();
    return copy;
}

void DocumentStore::setValue(NodeIndex index, std::string_view text)
{
    const char *copy = copyString(text);
    NodeRecord &record = edit(index);
    record.value = copy;
    record.valueLength = static_cast<std::uint32_t>(text.size());
    noteText(record);
}

void DocumentStore::shareValue(NodeIndex target, const NodeRecord &source)
{
    // Read first: the change may move the page `source` is on.
    const char *const value = source.value;
    const std::uint32_t valueLength = source.valueLength;
    NodeRecord &record = edit(target);
    record.value = value;
    record.valueLength = valueLength;
    noteText(record);
}

NameId DocumentStore::intern(std::string_view name)
{
    if (auto found = m_nameIds.find(name); found != m_nameIds.end())
        return found->second;
    const auto id = static_cast<NameId>(m_names.size());
    const std::string &stored = m_names.emplace_back(name);
    m_nameViews.emplace_back(stored);
    m_nameIds.emplace(std::string_view(stored), id);
    return id;
}

NodeIndex &DocumentStore::firstSlot(NodeIndex parent, bool attribute)
{
    NodeRecord &record = edit(parent);
    return attribute ? record.children.firstAttribute : record.children.first;
}

void DocumentStore::linkLast(NodeIndex parent, NodeIndex child, bool attribute)
{
    linkBefore(parent, child, kNoNode, attribute);
}

void DocumentStore::linkBefore(NodeIndex parent, NodeIndex child, NodeIndex reference,
                               bool attribute)
{
    NodeIndex &first = firstSlot(parent, attribute);
    NodeRecord &record = edit(child);
    record.parent = parent;
    if (first == kNoNode) {
        first = child;
        record.prev = child;
        record.next = kNoNode;
    } else if (reference == kNoNode) {
        const NodeIndex last = at(first).prev;
        edit(last).next = child;
        record.prev = last;
        record.next = kNoNode;
        edit(first).prev = child;
    } else {
        record.next = reference;
        record.prev = at(reference).prev;
        if (first == reference)
            first = child;
        else
            edit(record.prev).next = child;
        edit(reference).prev = child;
    }
    if (!attribute)
        noteText(record);
}

void DocumentStore::unlink(NodeIndex child, bool attribute)
{
    NodeRecord &record = edit(child);
    if (record.parent == kNoNode)
        return;
    NodeIndex &first = firstSlot(record.parent, attribute);
    if (first == child) {
        first = record.next;
        if (first != kNoNode)
            edit(first).prev = record.prev;
    } else {
        edit(record.prev).next = record.next;
        if (record.next != kNoNode)
            edit(record.next).prev = record.prev;
        else
            edit(first).prev = record.prev;
    }
    record.parent = record.next = record.prev = kNoNode;
}

void DocumentStore::rollback(const Mark &mark)
{
    const std::size_t pageSize = std::size_t{1} << kPageBits;
    const std::size_t keptPages = (mark.nodes + pageSize - 1) / pageSize;
    // Slots handed out again must look new: newNode() sets only kind, name and value.
    for (std::size_t index = mark.nodes; index < std::min(m_count, keptPages * pageSize); ++index)
        edit(static_cast<NodeIndex>(index)) = NodeRecord();
    m_pages.resize(keptPages);
    m_count = mark.nodes;
    m_chunks.resize(mark.chunks);
    m_chunkPos = mark.chunkPos;
    m_chunkLeft = mark.chunkLeft;
    m_chunkBytes = mark.chunkBytes;
}

bool DocumentStore::isAncestorOrSelf(NodeIndex candidate, NodeIndex node) const
{
    for (NodeIndex walk = node; walk != kNoNode; walk = at(walk).parent) {
        if (walk == candidate)
            return true;
    }
    return false;
}

NodeIndex DocumentStore::cloneFrom(const DocumentStore &from, NodeIndex source, bool deep)
{
    const bool sameStore = &from == this;
    // Names of another store are looked up here once per distinct name.
    std::unordered_map<NameId, NameId> names;
    auto nameOf = [&](NameId id) -> NameId {
        if (sameStore)
            return id;
        const auto found = names.find(id);
        if (found != names.end())
            return found->second;
        return names.emplace(id, intern(from.name(id))).first->second;
    };
    auto copyValue = [&](NodeIndex target, const NodeRecord &original) {
        // The arena never changes a value, so one store can share it.
        if (sameStore)
            shareValue(target, original);
        else
            setValue(target, from.value(original));
    };
    // Copies one node with its attributes.
    auto copyOne = [&](NodeIndex index) -> NodeIndex {
        // A copy: making the new node may move the page the original is on.
        const NodeRecord original = from.at(index);
        const NodeIndex copy = newNode(original.kind, nameOf(original.name));
        if (copy == kNoNode)
            return kNoNode;
        if (!HasChildList(original.kind)) {
            copyValue(copy, original);
            return copy;
        }
        for (NodeIndex a = original.children.firstAttribute; a != kNoNode; a = from.at(a).next) {
            const NodeIndex attributeCopy = newNode(NODE_ATTRIBUTE, nameOf(from.at(a).name));
            if (attributeCopy == kNoNode)
                return kNoNode;
            copyValue(attributeCopy, from.at(a));
            linkLast(copy, attributeCopy, true);
        }
        return copy;
    };

    const NodeIndex root = copyOne(source);
    if (!deep || root == kNoNode || !HasChildList(from.at(source).kind))
        return root;
    // Explicit stack: documents may nest far deeper than the call stack allows.
    std::vector<std::pair<NodeIndex, NodeIndex>> pending{{source, root}};
    while (!pending.empty()) {
        const auto [original, copied] = pending.back();
        pending.pop_back();
        for (NodeIndex child = from.at(original).children.first; child != kNoNode;
             child = from.at(child).next) {
            const NodeIndex copy = copyOne(child);
            if (copy == kNoNode)
                return kNoNode;
            linkLast(copied, copy, false);
            if (HasChildList(from.at(child).kind) && from.at(child).children.first != kNoNode)
                pending.emplace_back(child, copy);
        }
    }
    return root;
}

std::shared_ptr<DocumentStore> DocumentStore::snapshot()
{
    auto copy = std::make_shared<DocumentStore>();
    for (std::size_t id = copy->m_names.size(); id < m_names.size(); ++id)
        copy->intern(m_names[id]);
    copy->m_pages = m_pages;
    copy->m_count = m_count;
    copy->m_chunks = m_chunks;
    copy->m_chunkBytes = m_chunkBytes;
    copy->preserveWhiteSpace = preserveWhiteSpace;
    copy->parseError = parseError;
    copy->m_bShared = m_bShared = true;
    return copy;
}

void DocumentStore::ownPage(std::shared_ptr<NodeRecord[]> &page)
{
    if (page.use_count() > 1) {
        const std::size_t pageSize = std::size_t{1} << kPageBits;
        std::shared_ptr<NodeRecord[]> own(new NodeRecord[pageSize]);
        std::copy_n(page.get(), pageSize, own.get());
        page = std::move(own);
    }
    // A count of one may have been left by a snapshot that another thread has just dropped:
    // its reads of the page come before the changes that follow here.
    std::atomic_thread_fence(std::memory_order_acquire);
}

std::size_t DocumentStore::memoryUsed() const
{
    std::size_t names = 0;
    for (const std::string &name : m_names)
        names += name.capacity() + sizeof(std::string) + 32;
    return m_pages.size() * (sizeof(NodeRecord) << kPageBits) + m_chunkBytes + names;
}

} // namespace dom
