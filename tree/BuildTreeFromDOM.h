#pragma once

#include "Node.h"

class CPellixTreeView;
class CTreeItemRef;

// Walks `node` and its subtree in document order into items of `pTree` under `parent` (null:
// top level): the document node becomes a top-level item with image 0, each element that has
// a parent node an item with image 1 under the item of its nearest ancestor that has one; other
// nodes (a document type among them) get none. The walk shows no message. Nothing is added for a
// null node, a node of another document than the tree's, or a parent of another tree. The walk
// needs no call stack per level, and views learn of each new subtree in one insertion. `nDepth` is
// the level of `node` (0 for the document).
void BuildTreeFromDOM(const dom::Node &node, int nDepth, CPellixTreeView *pTree,
                      const CTreeItemRef &parent);
