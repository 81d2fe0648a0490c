// The tree pane on the 100 MB generated document: from CPellixDoc::OpenXMLDocument to a tree
// the view has laid out, beside libxml2's xmlReadFile of the same file in the same run; the
// tree build alone on a loaded DOM; scrolling through the records; and a selection change on
// an element of 10,000 attributes. Each benchmark reports its time and, as counters, the peak
// memory of one run.

#include "BenchSupport.h"
#include "PaneBenchMain.h"
#include "PaneWindow.h"

#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <QApplication>
#include <QScrollBar>
#include <QSplitter>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <memory>

namespace
{

constexpr int kMegabytes = 100;
constexpr int kAttributes = 10000;

// A window as a child frame lays it out: the document and its three panes.
struct Window : PaneWindow {
    Window() : PaneWindow(true, QSize(1000, 700)) {}
    // Opens `path` and lets the view lay out the first rows, as it does before painting.
    bool OpenAndLayOut(const std::string &path)
    {
        const bool bLoaded = doc->OpenXMLDocument(QString::fromStdString(path));
        tree->expand(tree->IndexFromItem(tree->GetRootItem()));
        QApplication::processEvents();
        return bLoaded;
    }
};

void xmlReadFile_(benchmark::State &state)
{
    RunXmlReadFile(state, GeneratedDocument(kMegabytes));
}

// Open to a laid-out tree: the DOM load and the tree build together.
void OpenToTree_(benchmark::State &state)
{
    const std::string path = GeneratedDocument(kMegabytes);
    std::size_t peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<Window>();
        malloc_trim(0);
        ResetPeakMemory();
        state.ResumeTiming();
        if (!window->OpenAndLayOut(path))
            state.SkipWithError("load failed");
        peak = std::max(peak, PeakMemorySinceReset());
        state.PauseTiming();
        state.counters["records"] =
            static_cast<double>(window->tree->GetRootItem().GetFirstChild().GetChildCount());
        window.reset();
        state.ResumeTiming();
    }
    SetMemoryCounters(state, path, peak);
}

// The tree build alone, on a DOM that is already loaded, and the opening of the records
// element: its 360,000 items are made as it opens.
void BuildTree_(benchmark::State &state)
{
    const std::string path = GeneratedDocument(kMegabytes);
    Window window;
    window.OpenAndLayOut(path);
    std::size_t peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        window.tree->DeleteAllTreeItems();
        malloc_trim(0);
        ResetPeakMemory();
        state.ResumeTiming();
        window.tree->BuildTreeFromDocument(window.doc->GetXMLDocument());
        const CTreeItemRef document = window.tree->GetRootItem();
        window.tree->expand(window.tree->IndexFromItem(document));
        window.tree->expand(window.tree->IndexFromItem(document.GetFirstChild()));
        QApplication::processEvents();
        peak = std::max(peak, PeakMemorySinceReset());
    }
    SetMemoryCounters(state, path, peak);
}

// Scrolling through the expanded records a page at a time, each step laid out and painted as
// the event loop does it: what the view pays per scroll, the fitting of its column included.
void ScrollTree_(benchmark::State &state)
{
    constexpr int kSteps = 200;
    const std::string path = GeneratedDocument(kMegabytes);
    Window window;
    window.OpenAndLayOut(path);
    window.tree->expand(window.tree->IndexFromItem(window.tree->GetRootItem().GetFirstChild()));
    QApplication::processEvents();
    QScrollBar *pBar = window.tree->verticalScrollBar();
    const int nStride = std::max(pBar->maximum() / kSteps, 1);
    for (auto _ : state) {
        for (int i = 0; i < kSteps; ++i) {
            pBar->setValue(i * nStride);
            QApplication::processEvents();
        }
    }
    state.counters["steps"] = kSteps;
    state.counters["rows"] = pBar->maximum() + pBar->pageStep();
}

std::string WideElementDocument()
{
    const auto path = std::filesystem::temp_directory_path() / "pellix-bench-wide.xml";
    std::ofstream out(path, std::ios::binary);
    out << "<root><wide";
    for (int i = 0; i < kAttributes; ++i)
        out << " attribute" << i << "=\" value " << i << " \"";
    out << "/><narrow/></root>";
    return path.string();
}

// Selecting an element of 10,000 attributes, coming from an item with unedited rows.
void SelectWideElement_(benchmark::State &state)
{
    Window window;
    window.OpenAndLayOut(WideElementDocument());
    const CTreeItemRef root = window.tree->GetRootItem().GetFirstChild();
    const CTreeItemRef wide = root.GetFirstChild();
    const CTreeItemRef narrow = wide.GetNextSibling();
    for (auto _ : state) {
        state.PauseTiming();
        window.tree->SelectItem(narrow);
        state.ResumeTiming();
        window.tree->SelectItem(wide);
    }
    state.counters["rows"] = window.grid->GetRowCount();
}

} // namespace

int main(int argc, char **argv)
{
    return RunPaneBenchmarks(argc, argv,
                             {{"xmlReadFile", &xmlReadFile_, 3},
                              {"OpenToTree", &OpenToTree_, 3},
                              {"BuildTree", &BuildTree_, 3},
                              {"ScrollTree", &ScrollTree_, 3},
                              {"SelectWideElement", &SelectWideElement_, 10}});
}
