#pragma once

// The node store behind a document: every node of one document lives here until the document
// dies, so a handle (document + index) can never dangle. Internal to the dom library; use the
// Node and Document handles.

#include "MappedBlock.h"
#include "NodeType.h"
#include "ParseError.h"

#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace dom
{

using NodeIndex = std::uint32_t;
using NameId = std::uint32_t;
constexpr NodeIndex kNoNode = 0;

// Name ids that every store holds from the start.
enum ReservedName : NameId {
    NAME_NONE = 0,
    NAME_DOCUMENT,
    NAME_TEXT,
    NAME_CDATA,
    NAME_COMMENT,
    NAME_FRAGMENT,
    NAME_RESERVED_COUNT
};

// A value this long or longer keeps its length in the eight bytes before its text.
constexpr std::uint16_t kLongValue = 0xFFFF;

// One node: 28 bytes, four-byte aligned, so a page of them has no padding. Elements and the
// document use `children`; every other kind keeps its value as a pointer into the string arena,
// stored in two halves to keep that alignment. Sibling lists are linked forwards through `next`
// and backwards through `prev`, where the first node's `prev` names the last node (so appending
// is O(1)); attributes hang off their element in a list of the same shape.
struct NodeRecord {
    NodeType kind = NODE_INVALID;
    std::uint8_t flags = 0;
    // The value's length, or kLongValue (see there).
    std::uint16_t shortLength = 0;
    NameId name = NAME_NONE;
    NodeIndex parent = kNoNode;
    NodeIndex next = kNoNode;
    NodeIndex prev = kNoNode;
    union {
        struct {
            NodeIndex first;
            NodeIndex firstAttribute;
        } children;
        std::uint32_t valueHalves[2];
    };
    NodeRecord() : children{kNoNode, kNoNode} {}

    const char *valueText() const
    {
        const char *text;
        std::memcpy(&text, valueHalves, sizeof text);
        return text;
    }
    void setValueText(const char *text) { std::memcpy(valueHalves, &text, sizeof text); }
};
static_assert(sizeof(const char *) <= sizeof(NodeRecord::valueHalves));
static_assert(sizeof(NodeRecord) == 28, "node records must stay small");

// Flags of a node record.
enum NodeFlag : std::uint8_t {
    // Set on an element (or the document) once a non-empty text node or any CDATA section is
    // linked under it, or a child text gets a non-empty value: the writer writes such an
    // element's content inline. Never cleared: a clear flag means there is no such child, which
    // lets the writer skip a walk over the children of most elements.
    FLAG_MAY_HAVE_TEXT = 1,
};

inline bool HasChildList(NodeType kind)
{
    return kind == NODE_ELEMENT || kind == NODE_DOCUMENT || kind == NODE_DOCUMENT_FRAGMENT;
}

class DocumentStore
{
public:
    DocumentStore();
    ~DocumentStore();
    DocumentStore(const DocumentStore &) = delete;
    DocumentStore &operator=(const DocumentStore &) = delete;

    const NodeRecord &at(NodeIndex index) const
    {
        return m_pages[index >> kPageBits][index & kPageMask];
    }
    // A record to change. Once a snapshot shares the pages, a page is copied before its first
    // change, so the snapshot never sees one.
    NodeRecord &edit(NodeIndex index)
    {
        if (m_bShared) [[unlikely]]
            ownPage(index >> kPageBits);
        return m_pages[index >> kPageBits][index & kPageMask];
    }
    NodeIndex documentNode() const { return 1; }
    std::size_t nodeCount() const { return m_count; }

    // Allocates a detached node; returns kNoNode when the store is full.
    NodeIndex newNode(NodeType kind, NameId name);

    void setValue(NodeIndex index, std::string_view text);
    void shareValue(NodeIndex target, const NodeRecord &source);
    // Marks the parent of a text node that holds text, or of any CDATA section (see
    // FLAG_MAY_HAVE_TEXT).
    void noteText(const NodeRecord &record)
    {
        if (((record.kind == NODE_TEXT && record.shortLength > 0) ||
             record.kind == NODE_CDATA_SECTION) &&
            record.parent != kNoNode && (at(record.parent).flags & FLAG_MAY_HAVE_TEXT) == 0)
            edit(record.parent).flags |= FLAG_MAY_HAVE_TEXT;
    }
    // The document type's value is its declaration as written.
    std::string_view value(const NodeRecord &record) const
    {
        if (HasChildList(record.kind))
            return {};
        const char *text = record.valueText();
        if (record.shortLength != kLongValue) [[likely]]
            return {text, record.shortLength};
        std::uint64_t length;
        std::memcpy(&length, text - sizeof length, sizeof length);
        return {text, static_cast<std::size_t>(length)};
    }

    NameId intern(std::string_view name);
    std::string_view name(NameId id) const { return m_nameViews[id]; }

    // List surgery on the child list (or attribute list) of `parent`.
    void linkLast(NodeIndex parent, NodeIndex child, bool attribute);
    void linkBefore(NodeIndex parent, NodeIndex child, NodeIndex reference, bool attribute);
    void unlink(NodeIndex child, bool attribute);
    NodeIndex lastOf(NodeIndex first) const { return first == kNoNode ? kNoNode : at(first).prev; }

    // What the store held at one moment, to go back to with rollback().
    struct Mark {
        std::size_t nodes;
        std::size_t chunks;
        char *chunkPos;
        std::size_t chunkLeft;
        std::size_t chunkBytes;
    };
    Mark mark() const { return {m_count, m_chunks.size(), m_chunkPos, m_chunkLeft, m_chunkBytes}; }
    // Gives back the nodes and values made since `mark`; none of them may be linked to an
    // older node or known to any handle (a failed load's nodes). Names stay interned.
    void rollback(const Mark &mark);

    bool isAncestorOrSelf(NodeIndex candidate, NodeIndex node) const;
    NodeIndex deepClone(NodeIndex source, bool deep) { return cloneFrom(*this, source, deep); }
    // A detached copy here of node `source` of store `from` (this store or another): names are
    // interned here and values shared within one store, copied between two. kNoNode when this
    // store is full.
    NodeIndex cloneFrom(const DocumentStore &from, NodeIndex source, bool deep);

    // The store as it is now, to be read on another thread while this one is edited, made in
    // time proportional to the pages, not the nodes: the pages of records are shared and copied
    // on their first change (by either store), the names interned again under the same ids, the
    // values shared (the arena never changes one).
    std::shared_ptr<DocumentStore> snapshot();

    bool preserveWhiteSpace = false;
    ParseError parseError;

    // Bytes held by the store, for measurements.
    std::size_t memoryUsed() const;

private:
    static constexpr unsigned kPageBits = 16;
    static constexpr NodeIndex kPageMask = (1u << kPageBits) - 1;
    // A small document's values fit the first, small chunk.
    static constexpr std::size_t kFirstChunkSize = std::size_t{64} << 10;
    static constexpr std::size_t kChunkSize = std::size_t{2} << 20;
    // Values up to this long are shared when the same text was stored a moment ago: attribute
    // values repeat ("active", "kg", dates) and each copy would cost memory and page faults.
    static constexpr std::size_t kSharedValueLength = 24;
    static constexpr std::size_t kRecentValues = 256;

    NodeIndex &firstSlot(NodeIndex parent, bool attribute);
    // Copies `text`, shorter than kLongValue, into the arena; the copy lives as long as the store.
    const char *copyString(std::string_view text);
    // A block of its own for a value of kLongValue bytes or more, its length in front.
    const char *copyLongValue(std::string_view text);
    void addPage();
    static std::size_t recentSlot(std::string_view text);
    // Makes page `page` this store's alone, copying it while a snapshot still shares it.
    void ownPage(std::size_t page);

    // Raw pointers for the reads, which are most of the work; the owners keep the blocks alive
    // while a snapshot shares them.
    std::vector<NodeRecord *> m_pages;
    std::vector<std::shared_ptr<MappedBlock>> m_pageOwners;
    // Set once a snapshot has shared the pages: changes check whether a page is still shared.
    bool m_bShared = false;
    std::size_t m_count = 0;

    // Shared with snapshots, which read the values they hold.
    std::vector<std::shared_ptr<MappedBlock>> m_chunks;
    // A copy of the text sits in the entry: comparing it needs no trip into the arena.
    struct RecentValue {
        const char *text;
        std::size_t length;
        char bytes[kSharedValueLength];
    };
    std::unique_ptr<RecentValue[]> m_recentValues;
    char *m_chunkPos = nullptr;
    std::size_t m_chunkLeft = 0;
    std::size_t m_chunkBytes = 0;

    std::deque<std::string> m_names; // stable storage: views into it never move
    std::vector<std::string_view> m_nameViews;
    std::unordered_map<std::string_view, NameId> m_nameIds;
};

} // namespace dom
