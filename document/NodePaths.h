#pragma once

// Paths of the nodes of one libxml2 tree, written as xmlGetNodePath writes them
// (/catalog/record[5]/title, .../@kind, .../text()[2], /*/p:item), for nodes asked in document
// order. xmlGetNodePath counts a node's position over all its earlier siblings, which makes a
// result of many siblings quadratic; here the count goes on from the node asked before under
// the same parent, so a whole result costs one walk over the siblings.

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

struct _xmlNode;

class CNodePaths
{
public:
    // The path of an element, attribute, text, CDATA section, comment, processing instruction,
    // namespace node (as its element's path and "/namespace::prefix") or the document ("/").
    // Nodes asked out of document order are counted over all their siblings.
    std::string PathOf(const _xmlNode *pNode);

private:
    // Where the count of one kind of sibling under one parent stands.
    struct Counter {
        const _xmlNode *pLast = nullptr;
        std::size_t nPosition = 0;
        // For the first of its kind: whether a later sibling is of the same kind.
        bool bFollowerKnown = false;
        bool bHasFollower = false;
    };
    // One ancestor of the last node asked, with its path and the counters of its children.
    struct Level {
        const _xmlNode *pNode;
        std::string path;
        std::unordered_map<std::string, Counter> counters;
    };

    std::string Step(const _xmlNode *pNode, Level &parent);
    // Makes m_chain the ancestors of pOwner, and pOwner itself, from the document down.
    void MoveTo(const _xmlNode *pOwner);

    std::vector<Level> m_chain;
};
