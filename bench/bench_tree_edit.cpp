// Search and subtree edits in the tree pane: building the match list over a document of a
// million elements (by name, by every kind of candidate at once, and one rare value in a tree
// that has made only the items in view), Copy then Paste of a
// subtree of 100,000 elements into another element (the copy, its items in the tree and the
// XML text for the system clipboard included), and Delete then Undo of a subtree of a million
// elements (the items taken away and built again included).

#include "PaneBenchMain.h"
#include "PaneWindow.h"

#include "MessageBox.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace
{

constexpr int kSearchElements = 1000000;
constexpr int kCopyElements = 100000;

// `nElements` elements: the root holding one element `big` (then `trailer`), which holds groups
// of a hundred records with an attribute, a text and, every tenth, a comment. Made once in the
// temporary folder.
std::string ElementsDocument(const char *name, int nElements, const char *trailer)
{
    const auto path = std::filesystem::temp_directory_path() / name;
    if (std::filesystem::exists(path))
        return path.string();
    std::ofstream out(path, std::ios::binary);
    out << "<root><big><group>";
    int nWritten = 3;
    for (int i = 0; nWritten < nElements; ++i, ++nWritten) {
        if (i > 0 && i % 100 == 0) {
            out << "</group><group>";
            ++nWritten;
        }
        out << "<record id=\"r" << i << "\">value " << i % 1000 << "</record>";
        if (i % 10 == 0)
            out << "<!-- note " << i << " -->";
    }
    out << "</group></big>" << trailer << "</root>";
    return path.string();
}

struct Window : PaneWindow {
    Window() : PaneWindow(true, QSize(1000, 700)) {}
    void Open(const std::string &path)
    {
        doc->OpenXMLDocument(QString::fromStdString(path));
        QApplication::processEvents();
    }
};

void RunSearch(benchmark::State &state, const QString &strFind, const CFindOptions &options)
{
    Window window;
    window.Open(ElementsDocument("pellix-bench-search.xml", kSearchElements, ""));
    const CTreeItemRef root = window.tree->GetRootItem();
    for (auto _ : state) {
        state.PauseTiming();
        window.tree->ClearMatches();
        state.ResumeTiming();
        window.tree->FindInTree(root, strFind, false, QString(), options);
    }
    state.counters["matches"] = static_cast<double>(window.tree->GetMatches().size());
}

// Every record and group by name.
void SearchNames_(benchmark::State &state)
{
    RunSearch(state, QStringLiteral("r"), CFindOptions());
}

// Names, attributes, texts and comments, as whole text, without case.
void SearchEverything_(benchmark::State &state)
{
    CFindOptions options;
    options.bAttrName = options.bAttrValue = options.bText = options.bComment = true;
    options.bWholeText = true;
    RunSearch(state, QStringLiteral("NOTE"), options);
}

// One attribute value near the end, each time in a window freshly opened (not timed), whose
// tree has made only the items in view: what a first search of a big document costs.
void SearchRareInFreshTree_(benchmark::State &state)
{
    CFindOptions options;
    options.bAttrValue = true;
    options.bWholeText = true;
    const std::string path = ElementsDocument("pellix-bench-search.xml", kSearchElements, "");
    std::size_t nMatches = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<Window>();
        window->Open(path);
        const CTreeItemRef root = window->tree->GetRootItem();
        state.ResumeTiming();
        window->tree->FindInTree(root, QStringLiteral("r989898"), false, QString(), options);
        state.PauseTiming();
        nMatches = window->tree->GetMatches().size();
        window.reset();
        state.ResumeTiming();
    }
    state.counters["matches"] = static_cast<double>(nMatches);
}

// The items of `top`'s subtree, `top` included.
int CountItems(const CTreeItemRef &top)
{
    int nItems = 0;
    for (std::vector<CTreeItemRef> pending{top}; !pending.empty();) {
        const CTreeItemRef item = pending.back();
        pending.pop_back();
        nItems += item.IsNull() ? 0 : 1;
        for (CTreeItemRef child = item.GetFirstChild(); child; child = child.GetNextSibling())
            pending.push_back(child);
    }
    return nItems;
}

void CopyPasteSubtree_(benchmark::State &state)
{
    Window window;
    window.Open(ElementsDocument("pellix-bench-copy.xml", kCopyElements, "<target/>"));
    CPellixTreeView *pTree = window.tree;
    const CTreeItemRef big = pTree->GetRootItem().GetFirstChild().GetFirstChild();
    const CTreeItemRef target = big.GetNextSibling();
    for (auto _ : state) {
        state.PauseTiming();
        if (const CTreeItemRef copy = target.GetFirstChild())
            pTree->RemoveItem(copy);
        state.ResumeTiming();
        pTree->SelectItem(big);
        pTree->CopyItem();
        pTree->SelectItem(target);
        pTree->PasteItem();
        QApplication::processEvents();
    }
    // The items of the last copy, counted outside the timing.
    const int nItems = CountItems(target.GetFirstChild());
    state.counters["pasted_items"] = nItems;
    if (nItems < kCopyElements - 2)
        state.SkipWithError("the copy is incomplete");
}

void DeleteUndoSubtree_(benchmark::State &state)
{
    Window window;
    window.Open(ElementsDocument("pellix-bench-search.xml", kSearchElements, ""));
    CPellixTreeView *pTree = window.tree;
    const CTreeItemRef root = pTree->GetRootItem().GetFirstChild();
    const std::size_t nNodes = window.doc->GetXMLDocument().nodeCount();
    double dUndoSeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        pTree->SelectItem(root.GetFirstChild());
        state.ResumeTiming();
        pTree->RemoveItem(pTree->GetCurrentItem());
        const auto undoStart = std::chrono::steady_clock::now();
        window.doc->OnEditUndo();
        QApplication::processEvents();
        dUndoSeconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - undoStart).count();
    }
    state.counters["undo_ms"] = 1000 * dUndoSeconds / static_cast<double>(state.iterations());
    state.counters["items"] = CountItems(root.GetFirstChild());
    // The subtree was linked back, not copied.
    if (window.doc->GetXMLDocument().nodeCount() != nNodes ||
        !(pTree->GetSelectedItem() == root.GetFirstChild()))
        state.SkipWithError("the undo copied the subtree or lost the item");
}

} // namespace

int main(int argc, char **argv)
{
    return RunPaneBenchmarks(argc, argv,
                             {{"SearchNames", &SearchNames_, 5},
                              {"SearchEverything", &SearchEverything_, 5},
                              {"SearchRareInFreshTree", &SearchRareInFreshTree_, 5},
                              {"CopyPasteSubtree", &CopyPasteSubtree_, 5},
                              {"DeleteUndoSubtree", &DeleteUndoSubtree_, 5}});
}
