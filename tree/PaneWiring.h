#pragma once

class CPellixDoc;
class CPellixGridView;
class CPellixTreeView;
class CPellixView;

// Connects the three panes of one window to each other and makes them the document's panes:
// the tree fills and commits this grid and text pane, the grid shows cells in this text pane,
// and the text pane writes into this grid.
void WirePanes(CPellixDoc *pDoc, CPellixTreeView *pTree, CPellixGridView *pGrid,
               CPellixView *pText);
