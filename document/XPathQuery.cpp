#include "XPathQuery.h"

#include "LibxmlErrorScope.h"
#include "LibxmlTree.h"
#include "NodePaths.h"

#include <libxml/tree.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <algorithm>
#include <memory>
#include <utility>

namespace
{

struct ContextFree {
    void operator()(xmlXPathContext *pContext) const { xmlXPathFreeContext(pContext); }
};
struct ObjectFree {
    void operator()(xmlXPathObject *pObject) const { xmlXPathFreeObject(pObject); }
};
struct XmlFree {
    void operator()(xmlChar *pText) const { xmlFree(pText); }
};
using XmlString = std::unique_ptr<xmlChar, XmlFree>;

std::string ToString(const xmlChar *pText)
{
    return pText == nullptr ? std::string() : std::string(reinterpret_cast<const char *>(pText));
}

// The first error libxml2 reported for the expression, with where it stopped reading.
void RememberError(void *pData, xmlError *pError)
{
    auto *pMessage = static_cast<std::string *>(pData);
    if (!pMessage->empty() || pError == nullptr)
        return;
    std::string text = ToString(reinterpret_cast<const xmlChar *>(pError->message));
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    *pMessage = text.empty() ? "Invalid expression" : text;
    if (pError->str1 != nullptr && pError->int1 >= 0)
        *pMessage += " at character " + std::to_string(pError->int1 + 1) + " of " + pError->str1;
}

// Cuts UTF-8 `text` after nMax characters.
void CutToCharacters(std::string &text, std::size_t nMax)
{
    std::size_t nCharacters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
            continue;
        if (nCharacters++ == nMax) {
            text.resize(i);
            return;
        }
    }
}

constexpr unsigned long kStepsPerNode = 100;
constexpr unsigned long kBaseSteps = 10'000'000;

} // namespace

// One evaluation: the mirror, the context and the result, freed together.
class CXPathRun
{
public:
    XPathOutcome Run(const dom::Document &document, std::string_view expression,
                     const std::function<void(const CXPathHit &)> &fnVisit,
                     const XPathOptions &options)
    {
        XPathOutcome outcome;
        m_pTree = CLibxmlTree::Build(document, options.nMemoryLimit, &outcome.error);
        if (m_pTree == nullptr)
            return outcome;
        m_pContext.reset(xmlXPathNewContext(m_pTree->GetDoc()));
        if (m_pContext == nullptr) {
            outcome.error = "Not enough memory to search the document with XPath.";
            return outcome;
        }
        // Relative paths start at the document node.
        m_pContext->node = reinterpret_cast<xmlNode *>(m_pTree->GetDoc());
        for (const auto &[prefix, uri] : m_pTree->GetPrefixes())
            xmlXPathRegisterNs(m_pContext.get(), reinterpret_cast<const xmlChar *>(prefix.c_str()),
                               reinterpret_cast<const xmlChar *>(uri.c_str()));
        m_pContext->opLimit =
            options.nOperationLimit != 0
                ? options.nOperationLimit
                : kBaseSteps + kStepsPerNode * static_cast<unsigned long>(m_pTree->GetNodeCount());
        const std::string text(expression);
        {
            // Through the global handler libxml2 also gives the error its message.
            CLibxmlErrorScope errorScope(&outcome.error, RememberError);
            m_pResult.reset(
                xmlXPathEval(reinterpret_cast<const xmlChar *>(text.c_str()), m_pContext.get()));
        }
        if (m_pResult == nullptr) {
            if (outcome.error.empty())
                outcome.error = "Invalid expression";
            outcome.bExpressionFailed = true;
            return outcome;
        }
        outcome.error.clear();
        Report(fnVisit, &outcome);
        return outcome;
    }

private:
    void Report(const std::function<void(const CXPathHit &)> &fnVisit, XPathOutcome *pOutcome)
    {
        xmlXPathObject *pResult = m_pResult.get();
        switch (pResult->type) {
        case XPATH_NODESET: {
            const xmlNodeSet *pSet = pResult->nodesetval;
            const int nNodes = pSet != nullptr ? pSet->nodeNr : 0;
            pOutcome->nCount = static_cast<std::size_t>(nNodes);
            CNodePaths paths;
            for (int i = 0; i < nNodes; ++i)
                fnVisit(CXPathHit(*m_pTree, &paths, pSet->nodeTab[i]));
            return;
        }
        case XPATH_BOOLEAN:
            pOutcome->kind = XPathKind::Boolean;
            break;
        case XPATH_NUMBER:
            pOutcome->kind = XPathKind::Number;
            break;
        default:
            pOutcome->kind = XPathKind::String;
            break;
        }
        pOutcome->value = ToString(XmlString(xmlXPathCastToString(pResult)).get());
    }

    // Declared in this order so that the result goes first and the mirror last.
    std::unique_ptr<CLibxmlTree> m_pTree;
    std::unique_ptr<xmlXPathContext, ContextFree> m_pContext;
    std::unique_ptr<xmlXPathObject, ObjectFree> m_pResult;
};

const _xmlNode *CXPathHit::ElementNode() const
{
    const xmlNode *pNode = m_pNode;
    if (pNode->type == XML_NAMESPACE_DECL) {
        // libxml2 hands out copies of namespace nodes whose `next` names their element.
        const auto *pNs = reinterpret_cast<const xmlNs *>(pNode);
        pNode = reinterpret_cast<const xmlNode *>(pNs->next);
    }
    while (pNode != nullptr && pNode->type != XML_ELEMENT_NODE) {
        if (pNode->type == XML_DOCUMENT_NODE)
            return nullptr;
        pNode = pNode->parent;
    }
    return pNode;
}

dom::Node CXPathHit::GetNode() const
{
    return m_tree.NodeOf(m_pNode);
}

dom::Node CXPathHit::GetElement() const
{
    return m_tree.NodeOf(ElementNode());
}

std::size_t CXPathHit::GetElementOrder() const
{
    const xmlNode *pElement = ElementNode();
    return pElement == nullptr ? 0 : CLibxmlTree::ElementOrder(pElement);
}

std::string CXPathHit::GetPath() const
{
    return m_pPaths->PathOf(m_pNode);
}

std::string CXPathHit::GetValue(std::size_t nMaxCharacters) const
{
    std::string value = ToString(XmlString(xmlXPathCastNodeToString(m_pNode)).get());
    CutToCharacters(value, nMaxCharacters);
    return value;
}

XPathOutcome EvaluateXPath(const dom::Document &document, std::string_view expression,
                           const std::function<void(const CXPathHit &)> &fnVisit,
                           const XPathOptions &options)
{
    CXPathRun run;
    return run.Run(document, expression, fnVisit, options);
}

XPathOutcome FindXPathElements(const dom::Document &document, std::string_view expression,
                               std::vector<dom::Node> *pElements, const XPathOptions &options)
{
    std::vector<std::pair<std::size_t, dom::Node>> found;
    XPathOutcome outcome = EvaluateXPath(
        document, expression,
        [&found](const CXPathHit &hit) {
            if (const std::size_t nOrder = hit.GetElementOrder(); nOrder != 0)
                found.emplace_back(nOrder, hit.GetElement());
        },
        options);
    // Owners come out of document order (an element's text after its child elements).
    std::stable_sort(found.begin(), found.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    found.erase(std::unique(found.begin(), found.end(),
                            [](const auto &a, const auto &b) { return a.first == b.first; }),
                found.end());
    pElements->clear();
    pElements->reserve(found.size());
    for (auto &entry : found)
        pElements->push_back(std::move(entry.second));
    return outcome;
}
