#include "NodeStore.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
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
        addPage();
    ++m_count;
    NodeRecord &record = edit(index);
    record.kind = kind;
    record.name = name;
    if (!HasChildList(kind)) {
        record.setValueText("");
    }
    return index;
}

void DocumentStore::addPage()
{
    const std::size_t records = std::size_t{1} << kPageBits;
    m_pages.reserve(m_pages.size() + 1);
    m_pageOwners.reserve(m_pageOwners.size() + 1);
    // Most documents never fill their first page: it gets its pages as they are touched.
    MappedBlock block(records * sizeof(NodeRecord), !m_pages.empty());
    if (block.data() == nullptr)
        throw std::bad_alloc();
    auto *page = reinterpret_cast<NodeRecord *>(block.data());
    std::uninitialized_default_construct_n(page, records);
    m_pageOwners.push_back(std::make_shared<MappedBlock>(std::move(block)));
    m_pages.push_back(page);
}

std::size_t DocumentStore::recentSlot(std::string_view text)
{
    // The first and last eight bytes (overlapping for shorter texts) and the length: two loads,
    // no loop.
    std::uint64_t head = 0;
    std::uint64_t tail = 0;
    const std::size_t size = text.size();
    if (size >= 8) {
        std::memcpy(&head, text.data(), 8);
        std::memcpy(&tail, text.data() + size - 8, 8);
    } else {
        for (std::size_t i = 0; i < size; ++i)
            head = (head << 8) | static_cast<unsigned char>(text[i]);
    }
    const std::uint64_t hash =
        (head * 0x9E3779B97F4A7C15ull) ^ (tail * 0xC2B2AE3D27D4EB4Full) ^ size;
    static_assert(kRecentValues == 256, "the slot is the hash's top byte");
    return static_cast<std::size_t>((hash * 0xFF51AFD7ED558CCDull) >> 56);
}

const char *DocumentStore::copyString(std::string_view text)
{
    if (text.empty())
        return "";
    RecentValue *recent = nullptr;
    if (text.size() <= kSharedValueLength) {
        if (m_recentValues == nullptr)
            m_recentValues = std::make_unique<RecentValue[]>(kRecentValues);
        recent = &m_recentValues[recentSlot(text)];
        if (recent->length == text.size() &&
            std::memcmp(recent->bytes, text.data(), text.size()) == 0)
            return recent->text;
    }
    if (m_chunkLeft < text.size()) {
        const bool small = m_chunkBytes == 0 && text.size() <= kFirstChunkSize;
        MappedBlock block(small ? kFirstChunkSize : kChunkSize, !small);
        if (block.data() == nullptr)
            throw std::bad_alloc();
        m_chunkBytes += block.size();
        m_chunkPos = block.data();
        m_chunkLeft = block.size();
        m_chunks.push_back(std::make_shared<MappedBlock>(std::move(block)));
    }
    char *copy = m_chunkPos;
    std::memcpy(copy, text.data(), text.size());
    m_chunkPos += text.size();
    m_chunkLeft -= text.size();
    if (recent != nullptr) {
        recent->text = copy;
        recent->length = text.size();
        std::memcpy(recent->bytes, text.data(), text.size());
    }
    return copy;
}

const char *DocumentStore::copyLongValue(std::string_view text)
{
    const std::uint64_t length = text.size();
    MappedBlock block(sizeof length + text.size(), false);
    if (block.data() == nullptr)
        throw std::bad_alloc();
    m_chunkBytes += block.size();
    std::memcpy(block.data(), &length, sizeof length);
    std::memcpy(block.data() + sizeof length, text.data(), text.size());
    m_chunks.push_back(std::make_shared<MappedBlock>(std::move(block)));
    return m_chunks.back()->data() + sizeof length;
}

void DocumentStore::setValue(NodeIndex index, std::string_view text)
{
    const bool isLong = text.size() >= kLongValue;
    const char *copy = isLong ? copyLongValue(text) : copyString(text);
    NodeRecord &record = edit(index);
    record.setValueText(copy);
    record.shortLength = isLong ? kLongValue : static_cast<std::uint16_t>(text.size());
    noteText(record);
}

void DocumentStore::shareValue(NodeIndex target, const NodeRecord &source)
{
    // Read first: the change may move the page `source` is on.
    const char *const value = source.valueText();
    const std::uint16_t shortLength = source.shortLength;
    NodeRecord &record = edit(target);
    record.setValueText(value);
    record.shortLength = shortLength;
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
    m_pageOwners.resize(keptPages);
    m_count = mark.nodes;
    m_chunks.resize(mark.chunks);
    // Values in the chunks given back must not be handed out again.
    m_recentValues.reset();
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
    copy->m_pageOwners = m_pageOwners;
    copy->m_count = m_count;
    copy->m_chunks = m_chunks;
    copy->m_chunkBytes = m_chunkBytes;
    copy->preserveWhiteSpace = preserveWhiteSpace;
    copy->parseError = parseError;
    copy->m_bShared = m_bShared = true;
    return copy;
}

void DocumentStore::ownPage(std::size_t page)
{
    std::shared_ptr<MappedBlock> &owner = m_pageOwners[page];
    if (owner.use_count() > 1) {
        const std::size_t bytes = sizeof(NodeRecord) << kPageBits;
        MappedBlock block(bytes, true);
        if (block.data() == nullptr)
            throw std::bad_alloc();
        std::memcpy(block.data(), m_pages[page], bytes);
        m_pages[page] = reinterpret_cast<NodeRecord *>(block.data());
        owner = std::make_shared<MappedBlock>(std::move(block));
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
