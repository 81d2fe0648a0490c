// Loading and saving beside libxml2's own tree, on generated documents of 1, 10 and 100 MB.
// Each benchmark reports its time and, as counters, the peak memory of one run and the file
// size, so the two sides can be compared from the same run.

#include "BenchSupport.h"
#include "Document.h"
#include "Loading.h"
#include "MessageBox.h"
#include "XmlWriter.h"

#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <QString>
#include <filesystem>
#include <malloc.h>

namespace
{

const int kSizes[] = {1, 10, 100};

std::string outputPath(const char *name)
{
    return (std::filesystem::temp_directory_path() / name).string();
}

void setCounters(benchmark::State &state, const std::string &path, std::size_t peak)
{
    SetMemoryCounters(state, path, peak);
    state.SetBytesProcessed(
        static_cast<int64_t>(state.iterations() * std::filesystem::file_size(path)));
}

void LoadDOM_(benchmark::State &state)
{
    const std::string path = GeneratedDocument(static_cast<int>(state.range(0)));
    std::size_t peak = 0;
    for (auto _ : state) {
        malloc_trim(0);
        ResetPeakMemory();
        dom::Document document = dom::Document::create();
        if (LoadDOM(document, QString::fromStdString(path)) != 0)
            state.SkipWithError("load failed");
        peak = std::max(peak, PeakMemorySinceReset());
        benchmark::DoNotOptimize(document);
        state.PauseTiming(); // freeing is not loading, on either side
        document = dom::Document();
        state.ResumeTiming();
    }
    setCounters(state, path, peak);
}

void xmlReadFile_(benchmark::State &state)
{
    const std::string path = GeneratedDocument(static_cast<int>(state.range(0)));
    RunXmlReadFile(state, path);
    state.SetBytesProcessed(
        static_cast<int64_t>(state.iterations() * std::filesystem::file_size(path)));
}

void WriteXMLFile_(benchmark::State &state)
{
    const std::string path = GeneratedDocument(static_cast<int>(state.range(0)));
    dom::Document document = dom::Document::create();
    LoadDOM(document, QString::fromStdString(path));
    const QString out = QString::fromStdString(outputPath("pellix-bench-out.xml"));
    for (auto _ : state) {
        if (FAILED(WriteXMLFile(document, out)))
            state.SkipWithError("write failed");
    }
    setCounters(state, path, 0);
}

void xmlSaveFile_(benchmark::State &state)
{
    const std::string path = GeneratedDocument(static_cast<int>(state.range(0)));
    xmlDocPtr document = xmlReadFile(path.c_str(), nullptr, 0);
    const std::string out = outputPath("pellix-bench-libxml2-out.xml");
    for (auto _ : state) {
        if (xmlSaveFile(out.c_str(), document) < 0)
            state.SkipWithError("write failed");
    }
    xmlFreeDoc(document);
    setCounters(state, path, 0);
}

// What a recovery copy costs the window: the snapshot, and the first change after it (the node
// page it falls on is copied). The writer's pass over the snapshot is the worker's
// (WriteXMLFile above).
void SnapshotAndEdit_(benchmark::State &state)
{
    const std::string path = GeneratedDocument(static_cast<int>(state.range(0)));
    dom::Document document = dom::Document::create();
    LoadDOM(document, QString::fromStdString(path));
    dom::Node root = document.documentElement();
    for (auto _ : state) {
        dom::Document snapshot = document.snapshot();
        if (FAILED(root.setAttribute("touched", "1")))
            state.SkipWithError("edit failed");
        benchmark::DoNotOptimize(snapshot);
        state.PauseTiming(); // the worker drops it
        snapshot = dom::Document();
        state.ResumeTiming();
    }
    setCounters(state, path, 0);
}

void registerAll()
{
    for (const auto &[name, function] :
         {std::pair{"LoadDOM", &LoadDOM_}, std::pair{"xmlReadFile", &xmlReadFile_},
          std::pair{"WriteXMLFile", &WriteXMLFile_}, std::pair{"xmlSaveFile", &xmlSaveFile_},
          std::pair{"SnapshotAndEdit", &SnapshotAndEdit_}}) {
        for (int size : kSizes) {
            benchmark::RegisterBenchmark(name, function)
                ->Arg(size)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(size >= 100  ? 3
                             : size >= 10 ? 10
                                          : 50);
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    SetMessageBoxHandler([](const QString &) {}); // the load's message would only be noise
    xmlInitParser();
    registerAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
