#pragma once

// What must hold after every step of the soak, whatever the step did. Each check appends what
// it finds wrong to `problems`, one line each, and leaves it alone when all is well.

#include "Node.h"

#include <functional>
#include <string>
#include <vector>

class CChildFrame;
class CPellixDoc;
class CPellixTreeView;
class CTreeItemRef;

using SoakProblems = std::vector<std::string>;

// Calls fnVisit for `top` and, in document order, every item below it that the tree has made,
// making none; when fnVisit returns false the item's children are left out.
void ForEachMadeItem(const CTreeItemRef &top,
                     const std::function<bool(const CTreeItemRef &item)> &fnVisit);

// The labels from the top item down to `item`, "/#document/library/shelf"; "(none)" for null.
std::string ItemPath(const CTreeItemRef &item);

// The items of `pTree` stand for the DOM under `document`: the document item for the document
// node, then one item per element, in document order, labelled with the element's name.
void CheckTreeMatchesDom(const CPellixTreeView *pTree, const dom::Node &document,
                         SoakProblems &problems);

// Every item handle the pane keeps (current, shown and selected item, the live matches) is
// null or names an item whose node is still in `document`; no drag or highlight outlives the
// step that made it.
void CheckTreeHandles(const CPellixTreeView *pTree, const dom::Node &document,
                      SoakProblems &problems);

// The program's one clipboard mark is null or an item whose node is still in its document, and
// only a pending cut's item shows the cut image, in any of `panes`.
void CheckClipboardMark(const std::vector<const CPellixTreeView *> &panes, SoakProblems &problems);

// The grid of `pFrame` shows the rows of the selected item's node: the edit context's node is
// the selected item's node, the list shows exactly the context's rows, and rows that were not
// edited are the node's own parts. The text pane writes into a row that exists, and never into a
// read-only name.
void CheckGridRows(const CChildFrame *pFrame, const dom::Node &document, SoakProblems &problems);

// The DOM can be written, and a document that says it is unmodified holds what was last saved
// or opened (`baseline`, in the writer's bytes) with no edited rows in any window.
void CheckModifiedFlag(CPellixDoc *pDoc, const std::string &baseline, SoakProblems &problems);

// After a save to `path`: the file holds the bytes of the DOM, they load, the loaded tree is the
// saved one, and writing it again gives the same bytes.
void CheckSavedFile(const dom::Node &document, const std::string &path, SoakProblems &problems);

// The first difference between the trees under `a` and `b` as a loader would see them: kinds,
// names, values and attribute order, white-space-only text outside xml:space="preserve" left
// out, adjacent texts joined and CDATA sections split where the writer splits them. Empty when
// they are the same.
std::string TreeDifference(const dom::Node &a, const dom::Node &b);
