#include "LibxmlTree.h"

#include <libxml/parserInternals.h>
#include <libxml/tree.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <limits>
#include <new>
#include <string_view>
#include <unordered_map>

namespace
{

// Every mirrored node carries the view of ours it stands for; its _private points at it.
struct MirrorNode {
    xmlNode node;
    dom::NodeView view;
};
// An attribute's value is a text child, as libxml2 keeps it.
struct MirrorAttr {
    xmlAttr attr;
    xmlNode text;
    dom::NodeView view;
};
struct MirrorDoc {
    xmlDoc doc;
    dom::NodeView view;
};

const xmlChar *AsXml(const char *text)
{
    return reinterpret_cast<const xmlChar *>(text);
}

// What a walk over `document` finds: node counts by the size of their mirror, value bytes.
struct Census {
    std::size_t nNodes = 0;
    std::size_t nAttributes = 0;
    std::size_t nValueBytes = 0;
};

Census Count(const dom::Document &document)
{
    Census census;
    std::vector<dom::NodeView> pending{document.view()};
    while (!pending.empty()) {
        const dom::NodeView node = pending.back();
        pending.pop_back();
        ++census.nNodes;
        census.nValueBytes += node.nodeValue().size() + 1;
        for (dom::NodeView a = node.firstAttribute(); a; a = a.nextAttribute()) {
            ++census.nAttributes;
            census.nValueBytes += a.nodeValue().size() + 1;
        }
        for (dom::NodeView child = node.firstChild(); child; child = child.nextSibling())
            pending.push_back(child);
    }
    return census;
}

// The arena hands out blocks aligned for anything.
constexpr std::size_t Rounded(std::size_t nSize)
{
    return (nSize + alignof(std::max_align_t) - 1) & ~(alignof(std::max_align_t) - 1);
}

std::string_view PrefixOf(std::string_view name)
{
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? std::string_view() : name.substr(0, colon);
}

} // namespace

// Zero-filled blocks that live as long as the tree; nothing in them is freed alone.
struct CLibxmlTree::CArena {
    static constexpr std::size_t kBlock = std::size_t{4} << 20;
    std::vector<std::unique_ptr<std::byte[]>> blocks;
    std::byte *pNext = nullptr;
    std::size_t nLeft = 0;
    std::size_t nBytes = 0;

    void *Allocate(std::size_t nSize)
    {
        nSize = Rounded(nSize);
        if (nSize > nLeft) {
            const std::size_t nBlock = std::max(nSize, kBlock);
            blocks.push_back(std::make_unique<std::byte[]>(nBlock));
            nBytes += nBlock;
            pNext = blocks.back().get();
            nLeft = nBlock;
        }
        void *p = pNext;
        pNext += nSize;
        nLeft -= nSize;
        return p;
    }
    template <typename T> T *New() { return static_cast<T *>(Allocate(sizeof(T))); }
    // A NUL-terminated copy of `text`.
    const xmlChar *Copy(std::string_view text)
    {
        auto *p = static_cast<char *>(Allocate(text.size() + 1));
        std::memcpy(p, text.data(), text.size());
        return AsXml(p);
    }
};

// Walks our document once, mirroring each node under its parent's mirror, with the namespace
// declarations in scope on a stack.
class CLibxmlTree::CBuilder
{
public:
    CBuilder(CLibxmlTree &tree) : m_tree(tree), m_arena(*tree.m_pArena)
    {
        m_xmlNs.type = XML_LOCAL_NAMESPACE;
        m_xmlNs.href = m_arena.Copy(reinterpret_cast<const char *>(XML_XML_NAMESPACE));
        m_xmlNs.prefix = m_arena.Copy("xml");
    }

    xmlDoc *Run(const dom::Document &document)
    {
        auto *pDocMirror = m_arena.New<MirrorDoc>();
        pDocMirror->view = document.view();
        xmlDoc *pDoc = &pDocMirror->doc;
        pDoc->_private = &pDocMirror->view;
        pDoc->type = XML_DOCUMENT_NODE;
        pDoc->doc = pDoc;
        pDoc->standalone = -1;
        pDoc->compression = -1;
        pDoc->charset = XML_CHAR_ENCODING_UTF8;
        m_xmlNs.context = pDoc;
        struct Frame {
            dom::NodeView next;
            xmlNode *pParent;
            std::size_t nScope;
        };
        std::vector<Frame> stack{
            {document.view().firstChild(), reinterpret_cast<xmlNode *>(pDoc), m_scope.size()}};
        while (!stack.empty()) {
            Frame &top = stack.back();
            if (!top.next) {
                m_scope.resize(top.nScope);
                stack.pop_back();
                continue;
            }
            const dom::NodeView node = top.next;
            top.next = node.nextSibling();
            xmlNode *pParent = top.pParent;
            const std::size_t nScope = m_scope.size();
            xmlNode *pMirror = Mirror(node, pParent);
            if (pMirror != nullptr && pMirror->type == XML_ELEMENT_NODE && node.firstChild())
                stack.push_back({node.firstChild(), pMirror, nScope});
            else
                m_scope.resize(nScope);
        }
        return pDoc;
    }

private:
    struct Binding {
        std::string_view prefix;
        xmlNs *pNs;
    };
    struct Name {
        const xmlChar *pLocal;
        std::string_view prefix;
    };

    // The local part of qualified name `name` as a libxml2 string, and its prefix. Names are
    // interned by our store, so their address identifies them.
    Name NameOf(std::string_view name)
    {
        const auto found = m_names.find(name.data());
        if (found != m_names.end())
            return found->second;
        const std::string_view prefix = PrefixOf(name);
        const std::string_view local = prefix.empty() ? name : name.substr(prefix.size() + 1);
        const Name result{m_arena.Copy(local), prefix};
        m_names.emplace(name.data(), result);
        return result;
    }

    // The namespace `prefix` is bound to here ("" for the default); null when none is, or
    // when the default was undeclared.
    xmlNs *Lookup(std::string_view prefix) const
    {
        if (prefix == "xml")
            return const_cast<xmlNs *>(&m_xmlNs);
        for (auto binding = m_scope.rbegin(); binding != m_scope.rend(); ++binding) {
            if (binding->prefix == prefix)
                return binding->pNs->href[0] == 0 ? nullptr : binding->pNs;
        }
        return nullptr;
    }

    static void Link(xmlNode *pNode, xmlNode *pParent)
    {
        pNode->parent = pParent;
        pNode->doc = pParent->doc;
        if (pParent->last == nullptr) {
            pParent->children = pNode;
        } else {
            pParent->last->next = pNode;
            pNode->prev = pParent->last;
        }
        pParent->last = pNode;
    }

    xmlNode *NewNode(dom::NodeView node, xmlElementType type, xmlNode *pParent)
    {
        auto *pMirror = m_arena.New<MirrorNode>();
        ++m_tree.m_nNodes;
        pMirror->view = node;
        pMirror->node._private = &pMirror->view;
        pMirror->node.type = type;
        Link(&pMirror->node, pParent);
        return &pMirror->node;
    }

    xmlNode *Mirror(dom::NodeView node, xmlNode *pParent)
    {
        const bool bTopLevel = pParent->type == XML_DOCUMENT_NODE;
        switch (node.nodeType()) {
        case dom::NODE_ELEMENT:
            return MirrorElement(node, pParent);
        case dom::NODE_TEXT:
        case dom::NODE_CDATA_SECTION: {
            xmlNode *pText = NewNode(
                node, node.nodeType() == dom::NODE_TEXT ? XML_TEXT_NODE : XML_CDATA_SECTION_NODE,
                pParent);
            pText->name = xmlStringText;
            pText->content = const_cast<xmlChar *>(m_arena.Copy(node.nodeValue()));
            return pText;
        }
        case dom::NODE_COMMENT: {
            xmlNode *pComment = NewNode(node, XML_COMMENT_NODE, pParent);
            pComment->name = xmlStringComment;
            pComment->content = const_cast<xmlChar *>(m_arena.Copy(node.nodeValue()));
            return pComment;
        }
        case dom::NODE_PROCESSING_INSTRUCTION: {
            // The XML declaration is no node to libxml2.
            if (bTopLevel && node.nodeName() == "xml")
                return nullptr;
            xmlNode *pPi = NewNode(node, XML_PI_NODE, pParent);
            pPi->name = m_arena.Copy(node.nodeName());
            pPi->content = const_cast<xmlChar *>(m_arena.Copy(node.nodeValue()));
            return pPi;
        }
        default:
            // The document type is never read; XPath has no node for it.
            return nullptr;
        }
    }

    xmlNode *MirrorElement(dom::NodeView node, xmlNode *pParent)
    {
        xmlNode *pElement = NewNode(node, XML_ELEMENT_NODE, pParent);
        // The element's place in document order, where nothing of libxml2's looks.
        pElement->psvi = reinterpret_cast<void *>(++m_nElements);
        const Name name = NameOf(node.nodeName());
        pElement->name = name.pLocal;
        // Declarations first: they bind the element's own prefix and its attributes'.
        xmlNs *pLastNs = nullptr;
        for (dom::NodeView a = node.firstAttribute(); a; a = a.nextAttribute()) {
            const std::string_view attrName = a.nodeName();
            if (attrName != "xmlns" && PrefixOf(attrName) != "xmlns")
                continue;
            auto *pNs = m_arena.New<xmlNs>();
            pNs->type = XML_LOCAL_NAMESPACE;
            pNs->href = m_arena.Copy(a.nodeValue());
            const std::string_view prefix =
                attrName == "xmlns" ? std::string_view() : attrName.substr(6);
            pNs->prefix = prefix.empty() ? nullptr : NameOf(attrName).pLocal;
            pNs->context = pElement->doc;
            (pLastNs == nullptr ? pElement->nsDef : pLastNs->next) = pNs;
            pLastNs = pNs;
            m_scope.push_back({prefix, pNs});
            if (!prefix.empty() && m_seenPrefixes.emplace(prefix, true).second)
                m_tree.m_prefixes.emplace_back(prefix, std::string(a.nodeValue()));
        }
        pElement->ns = Lookup(name.prefix);
        xmlAttr *pLastAttr = nullptr;
        for (dom::NodeView a = node.firstAttribute(); a; a = a.nextAttribute()) {
            const std::string_view attrName = a.nodeName();
            if (attrName == "xmlns" || PrefixOf(attrName) == "xmlns")
                continue;
            auto *pMirror = m_arena.New<MirrorAttr>();
            ++m_tree.m_nNodes;
            pMirror->view = a;
            xmlAttr *pAttr = &pMirror->attr;
            pAttr->_private = &pMirror->view;
            pAttr->type = XML_ATTRIBUTE_NODE;
            const Name attrParts = NameOf(attrName);
            pAttr->name = attrParts.pLocal;
            // An unprefixed attribute is in no namespace, whatever the default is.
            pAttr->ns = attrParts.prefix.empty() ? nullptr : Lookup(attrParts.prefix);
            pAttr->parent = pElement;
            pAttr->doc = pElement->doc;
            xmlNode *pText = &pMirror->text;
            pText->_private = &pMirror->view;
            pText->type = XML_TEXT_NODE;
            pText->name = xmlStringText;
            pText->content = const_cast<xmlChar *>(m_arena.Copy(a.nodeValue()));
            pText->parent = reinterpret_cast<xmlNode *>(pAttr);
            pText->doc = pElement->doc;
            pAttr->children = pAttr->last = pText;
            if (pLastAttr == nullptr) {
                pElement->properties = pAttr;
            } else {
                pLastAttr->next = pAttr;
                pAttr->prev = pLastAttr;
            }
            pLastAttr = pAttr;
        }
        return pElement;
    }

    CLibxmlTree &m_tree;
    CArena &m_arena;
    xmlNs m_xmlNs = {};
    std::vector<Binding> m_scope;
    std::unordered_map<const char *, Name> m_names;
    std::unordered_map<std::string_view, bool> m_seenPrefixes;
    std::uintptr_t m_nElements = 0;
};

std::size_t CLibxmlTree::EstimateBytes(const dom::Document &document)
{
    if (document.isNull())
        return 0;
    const Census census = Count(document);
    // Each piece is rounded up to the arena's alignment: a value by at most that much.
    return census.nNodes * Rounded(sizeof(MirrorNode)) +
           census.nAttributes * Rounded(sizeof(MirrorAttr)) + census.nValueBytes +
           (census.nNodes + census.nAttributes) * alignof(std::max_align_t) + CArena::kBlock;
}

std::size_t CLibxmlTree::DefaultMemoryLimit()
{
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    std::size_t nKilobytes = 0;
    std::string unit;
    while (meminfo >> key >> nKilobytes >> unit) {
        if (key == "MemAvailable:")
            return nKilobytes / 4 * 3 * 1024;
    }
    return std::numeric_limits<std::size_t>::max();
}

CLibxmlTree::CLibxmlTree(const dom::Document &document)
    : m_document(document), m_pArena(std::make_unique<CArena>())
{
}

CLibxmlTree::~CLibxmlTree() = default;

std::unique_ptr<CLibxmlTree> CLibxmlTree::Build(const dom::Document &document,
                                                std::size_t nMemoryLimit, std::string *pError)
{
    if (document.isNull()) {
        *pError = "The document is empty.";
        return nullptr;
    }
    const std::size_t nLimit = nMemoryLimit != 0 ? nMemoryLimit : DefaultMemoryLimit();
    const std::size_t nEstimate = EstimateBytes(document);
    if (nEstimate > nLimit) {
        *pError = "The document is too large to search with XPath here: it would take about " +
                  std::to_string(nEstimate >> 20) + " MB of memory, and " +
                  std::to_string(nLimit >> 20) + " MB can be used.";
        return nullptr;
    }
    try {
        std::unique_ptr<CLibxmlTree> pTree(new CLibxmlTree(document));
        CBuilder builder(*pTree);
        // libxml2's own numbering of the elements (xmlXPathOrderDocElems) is left out: with it,
        // node sets that hold other nodes than elements come out of document order.
        pTree->m_pDoc = builder.Run(document);
        return pTree;
    } catch (const std::bad_alloc &) {
        *pError = "Not enough memory to search the document with XPath.";
        return nullptr;
    }
}

_xmlDoc *CLibxmlTree::GetDoc() const
{
    return m_pDoc;
}

std::size_t CLibxmlTree::ElementOrder(const _xmlNode *pElement)
{
    return reinterpret_cast<std::uintptr_t>(pElement->psvi);
}

dom::Node CLibxmlTree::NodeOf(const _xmlNode *pNode) const
{
    if (pNode == nullptr || pNode->_private == nullptr)
        return {};
    switch (pNode->type) {
    case XML_ELEMENT_NODE:
    case XML_ATTRIBUTE_NODE:
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_COMMENT_NODE:
    case XML_PI_NODE:
    case XML_DOCUMENT_NODE:
        return static_cast<const dom::NodeView *>(pNode->_private)->node(m_document);
    default:
        return {};
    }
}

const std::vector<std::pair<std::string, std::string>> &CLibxmlTree::GetPrefixes() const
{
    return m_prefixes;
}

std::size_t CLibxmlTree::GetBytesUsed() const
{
    return m_pArena->nBytes;
}
