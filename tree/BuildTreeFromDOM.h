#pragma once

#include "Node.h"

class CPellixTreeView;
class CTreeItemRef;

// Adds the items of `node` to `pTree` under `parent` (null: top level): the document node
// becomes a top-level item with image 0, an element that has a parent node an item with image 1;
// other nodes get none, but the element children of a fragment get theirs. The items of the
// elements below are made when first asked for (a view expanding an item, a command walking
// down), each under the item of its parent, in document order. Nothing is added for a null node,
// a node of another document than the tree's, or a parent of another tree; no message is shown.
// `nDepth` is the level of `node` (0 for the document).
void BuildTreeFromDOM(const dom::Node &node, int nDepth, CPellixTreeView *pTree,
                      const CTreeItemRef &parent);
