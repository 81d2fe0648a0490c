#include "NodePaths.h"

#include <libxml/tree.h>

#include <algorithm>

namespace
{

std::string Text(const xmlChar *pText)
{
    return pText == nullptr ? std::string() : std::string(reinterpret_cast<const char *>(pText));
}

std::string QualifiedName(const xmlNode *pNode)
{
    return pNode->ns != nullptr && pNode->ns->prefix != nullptr
               ? Text(pNode->ns->prefix) + ":" + Text(pNode->name)
               : Text(pNode->name);
}

// An element in a namespace without prefix has no name XPath 1.0 can write: "*".
bool IsGeneric(const xmlNode *pNode)
{
    return pNode->type == XML_ELEMENT_NODE && pNode->ns != nullptr && pNode->ns->prefix == nullptr;
}

bool IsText(const xmlNode *pNode)
{
    return pNode->type == XML_TEXT_NODE || pNode->type == XML_CDATA_SECTION_NODE;
}

// Whether `other` counts in the position of `node`, as xmlGetNodePath decides it.
bool SameStep(const xmlNode *pNode, const xmlNode *pOther)
{
    switch (pNode->type) {
    case XML_ELEMENT_NODE:
        if (pOther->type != XML_ELEMENT_NODE)
            return false;
        if (IsGeneric(pNode))
            return true;
        return xmlStrEqual(pNode->name, pOther->name) &&
               (pOther->ns == pNode->ns || (pOther->ns != nullptr && pNode->ns != nullptr &&
                                            xmlStrEqual(pOther->ns->prefix, pNode->ns->prefix)));
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
        return IsText(pOther);
    case XML_PI_NODE:
        return pOther->type == XML_PI_NODE && xmlStrEqual(pNode->name, pOther->name);
    default:
        return pOther->type == pNode->type;
    }
}

// The name of the step and the key of the siblings that count with it.
std::pair<std::string, std::string> StepName(const xmlNode *pNode)
{
    switch (pNode->type) {
    case XML_ELEMENT_NODE:
        if (IsGeneric(pNode))
            return {"*", "*"};
        return {QualifiedName(pNode), (pNode->ns != nullptr ? "n" : "e") + QualifiedName(pNode)};
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
        return {"text()", "t"};
    case XML_COMMENT_NODE:
        return {"comment()", "c"};
    case XML_PI_NODE:
        return {"processing-instruction('" + Text(pNode->name) + "')", "p" + Text(pNode->name)};
    default:
        return {"node()", "?"};
    }
}

} // namespace

std::string CNodePaths::Step(const xmlNode *pNode, Level &parent)
{
    auto [name, key] = StepName(pNode);
    Counter &counter = parent.counters[key];
    std::size_t nPosition = 0;
    if (counter.pLast != nullptr) {
        // On from the last one counted; a node before it is counted afresh.
        nPosition = counter.nPosition;
        const xmlNode *pSibling = counter.pLast;
        while (pSibling != nullptr && pSibling != pNode) {
            pSibling = pSibling->next;
            nPosition += pSibling != nullptr && SameStep(pNode, pSibling) ? 1 : 0;
        }
        if (pSibling == nullptr)
            nPosition = 0;
    }
    if (nPosition == 0) {
        nPosition = 1;
        for (const xmlNode *pBefore = pNode->prev; pBefore != nullptr; pBefore = pBefore->prev)
            nPosition += SameStep(pNode, pBefore) ? 1 : 0;
    }
    counter.pLast = pNode;
    counter.nPosition = nPosition;
    bool bIndexed = nPosition > 1;
    if (nPosition == 1) {
        if (!counter.bFollowerKnown) {
            const xmlNode *pAfter = pNode->next;
            while (pAfter != nullptr && !SameStep(pNode, pAfter))
                pAfter = pAfter->next;
            counter.bHasFollower = pAfter != nullptr;
            counter.bFollowerKnown = true;
        }
        bIndexed = counter.bHasFollower;
    }
    return bIndexed ? name + "[" + std::to_string(nPosition) + "]" : name;
}

void CNodePaths::MoveTo(const xmlNode *pOwner)
{
    std::vector<const xmlNode *> up;
    for (const xmlNode *p = pOwner; p != nullptr; p = p->parent)
        up.push_back(p);
    std::reverse(up.begin(), up.end());
    std::size_t nKeep = 0;
    while (nKeep < m_chain.size() && nKeep < up.size() && m_chain[nKeep].pNode == up[nKeep])
        ++nKeep;
    m_chain.resize(nKeep);
    for (std::size_t i = nKeep; i < up.size(); ++i) {
        if (m_chain.empty()) {
            // The document: its children's paths start with "/".
            m_chain.push_back({up[i], std::string(), {}});
            continue;
        }
        std::string path = m_chain.back().path + "/" + Step(up[i], m_chain.back());
        m_chain.push_back({up[i], std::move(path), {}});
    }
}

std::string CNodePaths::PathOf(const xmlNode *pNode)
{
    if (pNode == nullptr)
        return {};
    switch (pNode->type) {
    case XML_DOCUMENT_NODE:
        return "/";
    case XML_NAMESPACE_DECL: {
        // libxml2's copies of namespace nodes keep their element in `next`.
        const auto *pNs = reinterpret_cast<const xmlNs *>(pNode);
        const auto *pElement = reinterpret_cast<const xmlNode *>(pNs->next);
        return (pElement != nullptr ? PathOf(pElement) : std::string()) +
               "/namespace::" + Text(pNs->prefix);
    }
    case XML_ATTRIBUTE_NODE:
        MoveTo(pNode->parent);
        return m_chain.back().path + "/@" + QualifiedName(pNode);
    default:
        if (pNode->parent == nullptr)
            return {};
        MoveTo(pNode->parent);
        return m_chain.back().path + "/" + Step(pNode, m_chain.back());
    }
}
