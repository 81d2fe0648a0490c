#pragma once

// A read-only libxml2 tree that mirrors one of our documents, for libxml2's XPath engine. It is
// built straight from the DOM (no text is written or parsed), every mirrored node points back
// at ours, and the whole tree is one arena that goes with this object. libxml2 must not change
// or free its nodes: nothing but evaluation may use it.

#include "Document.h"

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

struct _xmlDoc;
struct _xmlNode;

class CLibxmlTree
{
public:
    // What the mirror of `document` may take at most, a generous estimate from its node count
    // and store, in bytes.
    static std::size_t EstimateBytes(const dom::Document &document);
    // What a mirror may take when the caller sets no limit: three quarters of the memory the
    // system has available now.
    static std::size_t DefaultMemoryLimit();

    // Builds the mirror of `document`; nMemoryLimit 0 means DefaultMemoryLimit(). Null, with
    // *pError set to a message for the user, for a null document, for one whose estimate
    // passes the limit (nothing is built then), and when memory runs out.
    static std::unique_ptr<CLibxmlTree> Build(const dom::Document &document,
                                              std::size_t nMemoryLimit, std::string *pError);
    ~CLibxmlTree();
    CLibxmlTree(const CLibxmlTree &) = delete;
    CLibxmlTree &operator=(const CLibxmlTree &) = delete;

    // The mirrored document; lives as long as this object.
    _xmlDoc *GetDoc() const;
    // Where a mirrored element stands in document order (1 for the document element).
    static std::size_t ElementOrder(const _xmlNode *pElement);
    // Our node behind a mirrored element, attribute, text, comment, processing instruction or
    // the document (an xmlAttr or xmlDoc passed as an xmlNode); null for anything else.
    dom::Node NodeOf(const _xmlNode *pNode) const;
    // Each prefix declared in the document with the first namespace it was bound to, for
    // expressions to use.
    const std::vector<std::pair<std::string, std::string>> &GetPrefixes() const;
    // Bytes the mirror holds.
    std::size_t GetBytesUsed() const;
    // Nodes mirrored, attributes included.
    std::size_t GetNodeCount() const { return m_nNodes; }

private:
    class CBuilder;
    struct CArena;
    explicit CLibxmlTree(const dom::Document &document);

    dom::Document m_document;
    std::unique_ptr<CArena> m_pArena;
    _xmlDoc *m_pDoc = nullptr;
    std::vector<std::pair<std::string, std::string>> m_prefixes;
    std::size_t m_nNodes = 0;
};
