#pragma once

class CEditContext;
class CPellixDoc;
class CPellixGridView;
class CPellixTreeView;
class CPellixView;
class QObject;

// Puts one window's panes together: a new edit context of the document, owned by `pOwner`
// (the window), which the tree fills and commits and the grid shows; the grid's hit cell goes
// to the text pane, and what is typed there goes back into that cell. The panes know nothing
// of each other. A null tree (a window of node panes only) is allowed. Returns the context.
CEditContext *WirePanes(CPellixDoc *pDoc, QObject *pOwner, CPellixTreeView *pTree,
                        CPellixGridView *pGrid, CPellixView *pText);
