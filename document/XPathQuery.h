#pragma once

// XPath 1.0 over one of our documents, evaluated by libxml2's engine from the document node on
// a libxml2 mirror of the DOM (see CLibxmlTree), which is freed when the evaluation ends.
// Prefixes declared anywhere in the document can be used in the expression.

#include "Document.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class CLibxmlTree;
class CNodePaths;
struct _xmlNode;

struct XPathOptions {
    // Bytes the mirror may take; 0: three quarters of what the system has available.
    std::size_t nMemoryLimit = 0;
    // Steps the engine may take before it stops the evaluation; 0: a bound that grows with the
    // document, so that an expression of quadratic cost ends with a message, not a freeze.
    unsigned long nOperationLimit = 0;
};

enum class XPathKind { Nodes, Boolean, Number, String };

struct XPathOutcome {
    // Empty on success; else libxml2's message for an expression it refused, or why the
    // document could not be searched.
    std::string error;
    // Whether the error is the expression's (libxml2 refused it or stopped its evaluation)
    // rather than the document's.
    bool bExpressionFailed = false;
    XPathKind kind = XPathKind::Nodes;
    // The number of nodes of a node-set result.
    std::size_t nCount = 0;
    // The value of any other result, as XPath's string() gives it.
    std::string value;
    bool Succeeded() const { return error.empty(); }
};

// One node of a result; valid only while the visit that hands it out runs.
class CXPathHit
{
public:
    // Our node; null for a namespace node, which the DOM keeps only as an attribute.
    dom::Node GetNode() const;
    // The element itself; the owner element of an attribute or namespace node, the parent
    // element of any other node; null for the document and nodes outside the document element.
    dom::Node GetElement() const;
    // Where GetElement() stands in document order (1 for the document element); 0 when null.
    std::size_t GetElementOrder() const;
    // Where the node stands, as libxml2's xmlGetNodePath writes it: /catalog/record[5]/title,
    // .../@kind (see CNodePaths).
    std::string GetPath() const;
    // The node's string value, cut to at most nMaxCharacters characters.
    std::string GetValue(std::size_t nMaxCharacters) const;

private:
    friend class CXPathRun;
    CXPathHit(const CLibxmlTree &tree, CNodePaths *pPaths, _xmlNode *pNode)
        : m_tree(tree), m_pPaths(pPaths), m_pNode(pNode)
    {
    }
    const _xmlNode *ElementNode() const;

    const CLibxmlTree &m_tree;
    CNodePaths *m_pPaths;
    _xmlNode *m_pNode;
};

// Evaluates `expression` on `document` and hands each node of a node-set result to fnVisit,
// in document order. Nothing is visited when the outcome has an error.
XPathOutcome EvaluateXPath(const dom::Document &document, std::string_view expression,
                           const std::function<void(const CXPathHit &hit)> &fnVisit,
                           const XPathOptions &options = {});

// The elements a node-set result names: each element in it and the owner or parent element of
// each other node, once each, in document order. A result that is not a node set gives no
// elements (the outcome says what it is).
XPathOutcome FindXPathElements(const dom::Document &document, std::string_view expression,
                               std::vector<dom::Node> *pElements, const XPathOptions &options = {});
