// The grid: filling it with 10,000 rows and painting the rows in view; sorting 10,000 rows by a
// text column and by a number column; and selecting an element whose text child is 100 MB,
// from the tree's selection to a painted grid.

#include "BenchSupport.h"
#include "ColumnDefinitionSet.h"
#include "GridListView.h"
#include "PaneBenchMain.h"
#include "PaneWindow.h"
#include "TreePath.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSplitter>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <random>

namespace
{

constexpr int kRows = 10000;

// <root><wide a0="..." .../><narrow/><big>100 MB of text</big></root>, made once.
std::string GridDocument()
{
    const auto path = std::filesystem::temp_directory_path() / "pellix-bench-grid.xml";
    if (std::filesystem::exists(path))
        return path.string();
    std::ofstream out(path.string() + ".part", std::ios::binary);
    std::mt19937 random(7);
    out << "<root><wide";
    for (int i = 0; i < kRows - 1; ++i)
        out << " a" << i << "=\"" << random() % 100000 << "\"";
    out << "/><narrow/><big>";
    const std::string line(99, 'x');
    for (int i = 0; i < 1000 * 1000; ++i)
        out << line << '\n';
    out << "</big></root>";
    out.close();
    std::filesystem::rename(path.string() + ".part", path);
    return path.string();
}

struct Window : PaneWindow {
    Window() : PaneWindow(true, QSize(1000, 700))
    {
        doc->OpenXMLDocument(QString::fromStdString(GridDocument()));
        tree->expandAll();
        QApplication::processEvents();
    }
    CTreeItemRef Item(const char *pszPath) const { return ItemAtPath(tree, pszPath); }
    // Paints the grid now, as the next frame would.
    void PaintGrid() const { grid->viewport()->repaint(); }
};

// The edit context's fill of the 10,000 rows of an element and the paint of those in view.
void FillAndPaint_(benchmark::State &state)
{
    Window window;
    const dom::Node wide = window.Item("root/wide").GetNode();
    for (auto _ : state) {
        window.context->Fill(wide);
        window.PaintGrid();
        state.PauseTiming();
        state.counters["rows"] = window.grid->GetItemCount();
        window.context->Clear();
        state.ResumeTiming();
    }
}

// The list alone: 10,000 row items and a paint.
void ListFillAndPaint_(benchmark::State &state)
{
    Window window;
    window.context->Fill(window.Item("root/wide").GetNode());
    std::vector<quintptr> data;
    for (int i = 0; i < window.grid->GetItemCount(); ++i)
        data.push_back(window.grid->GetItemData(i));
    for (auto _ : state) {
        window.grid->SetRowItems(data);
        window.PaintGrid();
    }
}

// A list of its own over 10,000 random words, sorted by them.
void SortText_(benchmark::State &state)
{
    std::mt19937 random(11);
    std::vector<QString> words;
    for (int i = 0; i < kRows; ++i) {
        QString word;
        for (int n = 0; n < 8; ++n)
            word += QChar(static_cast<char16_t>((n % 3 == 0 ? u'A' : u'a') + random() % 26));
        words.push_back(word);
    }
    CGridListView list;
    ColumnDefinitionSet *pDefs = list.CreateColumnDefinitions();
    pDefs->AddDefinition(0, "Word", QString(), LVCFMT_LEFT, 100, COLDEF_SORTABLE, -1, QString());
    pDefs->SetDefaultOrder({0});
    list.ApplyColumnDefinitions();
    list.SetCellTextFunction(
        [&words](int, int, quintptr nDatum, QString &strText) { strText = words[nDatum]; });
    std::vector<quintptr> data(words.size());
    std::iota(data.begin(), data.end(), 0);
    list.SetRowItems(data);
    for (auto _ : state)
        list.SortByColumn(0);
    state.counters["first"] = list.GetCellText(0, 0) < list.GetCellText(kRows - 1, 0) ? 1 : -1;
}

// The grid pane's value column, numbers, 10,000 rows.
void SortNumbers_(benchmark::State &state)
{
    Window window;
    window.context->Fill(window.Item("root/wide").GetNode());
    for (auto _ : state) {
        window.grid->SortByColumn(2);
        window.PaintGrid();
    }
}

// From the tree's selection of the element with 100 MB of text to the painted grid.
void SelectHugeText_(benchmark::State &state)
{
    Window window;
    const CTreeItemRef narrow = window.Item("root/narrow");
    const CTreeItemRef big = window.Item("root/big");
    for (auto _ : state) {
        state.PauseTiming();
        window.tree->SelectItem(narrow);
        window.PaintGrid();
        state.ResumeTiming();
        window.tree->SelectItem(big);
        window.PaintGrid();
        QApplication::processEvents();
    }
    state.counters["value_MB"] =
        window.grid->GetRowCount() > 0 ? window.grid->GetRow(0)->strValue.size() / 1e6 : 0;
}

} // namespace

int main(int argc, char **argv)
{
    return RunPaneBenchmarks(argc, argv,
                             {{"FillAndPaint10k", &FillAndPaint_, 20},
                              {"ListFillAndPaint10k", &ListFillAndPaint_, 20},
                              {"SortText10k", &SortText_, 20},
                              {"SortNumbers10k", &SortNumbers_, 20},
                              {"SelectHugeText", &SelectHugeText_, 5}});
}
