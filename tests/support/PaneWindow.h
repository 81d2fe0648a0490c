#pragma once

// A document and one window's panes as a child frame lays them out (the tree beside the grid
// above the text pane), wired by the program's own wiring and shown offscreen. Shared by the
// pane tests, the tree tests and the tree benchmark.

#include "EditContext.h"
#include "PellixDoc.h"
#include "PellixGridView.h"
#include "PellixTreeView.h"
#include "PellixView.h"

#include <QSize>
#include <QSplitter>
#include <memory>

struct PaneWindow {
    // Without `bTree` the window holds only the grid and the text pane.
    explicit PaneWindow(bool bTree = true, QSize size = QSize(800, 600));
    ~PaneWindow();
    PaneWindow(const PaneWindow &) = delete;
    PaneWindow &operator=(const PaneWindow &) = delete;

    // The document outlives the window, whose panes leave it as they go.
    std::unique_ptr<CPellixDoc> doc;
    std::unique_ptr<QSplitter> window;
    CPellixTreeView *tree = nullptr;
    CPellixGridView *grid = nullptr;
    CPellixView *text = nullptr;
    CEditContext *context = nullptr;
};
