// XPath and validation as the window runs them, on generated catalogs of 10 and 100 MB (see
// make_catalog.py), beside libxml2 doing the same on its own tree or stream. Each benchmark
// reports its time and, as counters, its peak memory above what was resident before (the
// loaded document is not counted on our side: the window has it already).

#include "BenchSupport.h"
#include "Document.h"
#include "LibxmlTree.h"
#include "MessageBox.h"
#include "SchemaValidation.h"
#include "XPathQuery.h"

#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxml/xmlreader.h>
#include <libxml/xmlschemas.h>
#include <libxml/xpath.h>

#include <QString>
#include <malloc.h>

namespace
{

const char *const kExpression = "//record[@kind='zeta']";

std::string schemaOf(const std::string &path)
{
    return path.substr(0, path.size() - 4) + ".xsd";
}

// Runs fnRun per iteration on the loaded catalog, measuring its peak memory.
template <typename Run> void onCatalog(benchmark::State &state, Run fnRun)
{
    const std::string path = CatalogDocument(static_cast<int>(state.range(0)));
    if (path.empty()) {
        state.SkipWithError("the catalog could not be made (python3 bench/make_catalog.py)");
        return;
    }
    dom::Document document = dom::Document::create();
    if (document.load(path) != 0) {
        state.SkipWithError("load failed");
        return;
    }
    std::size_t peak = 0;
    for (auto _ : state) {
        malloc_trim(0);
        ResetPeakMemory();
        fnRun(state, document, path);
        peak = std::max(peak, PeakMemorySinceReset());
    }
    SetMemoryCounters(state, path, peak);
}

void MirrorTree_(benchmark::State &state)
{
    onCatalog(state, [](benchmark::State &s, const dom::Document &document, const std::string &) {
        std::string error;
        const std::unique_ptr<CLibxmlTree> pTree = CLibxmlTree::Build(document, 0, &error);
        if (pTree == nullptr)
            s.SkipWithError(error.c_str());
        else
            s.counters["mirror_MB"] = static_cast<double>(pTree->GetBytesUsed()) / (1 << 20);
    });
}

void FindXPathElements_(benchmark::State &state)
{
    onCatalog(state, [](benchmark::State &s, const dom::Document &document, const std::string &) {
        std::vector<dom::Node> elements;
        const XPathOutcome outcome = FindXPathElements(document, kExpression, &elements);
        if (!outcome.Succeeded())
            s.SkipWithError(outcome.error.c_str());
        s.counters["elements"] = static_cast<double>(elements.size());
    });
}

void ValidateDocument_(benchmark::State &state)
{
    onCatalog(state,
              [](benchmark::State &s, const dom::Document &document, const std::string &path) {
                  const ValidationReport report = ValidateDocument(document, schemaOf(path));
                  if (report.status != ValidationReport::Valid)
                      s.SkipWithError("the catalog did not validate");
              });
}

// The references: libxml2 parses the file into its tree and evaluates there; its reader
// validates the file as it streams.
void libxml2XPath_(benchmark::State &state)
{
    const std::string path = CatalogDocument(static_cast<int>(state.range(0)));
    std::size_t peak = 0;
    for (auto _ : state) {
        malloc_trim(0);
        ResetPeakMemory();
        xmlDoc *pDoc = xmlReadFile(path.c_str(), nullptr, 0);
        xmlXPathContext *pContext = xmlXPathNewContext(pDoc);
        xmlXPathObject *pResult =
            xmlXPathEval(reinterpret_cast<const xmlChar *>(kExpression), pContext);
        state.counters["elements"] =
            pResult != nullptr && pResult->nodesetval != nullptr ? pResult->nodesetval->nodeNr : 0;
        peak = std::max(peak, PeakMemorySinceReset());
        xmlXPathFreeObject(pResult);
        xmlXPathFreeContext(pContext);
        xmlFreeDoc(pDoc);
    }
    SetMemoryCounters(state, path, peak);
}

void libxml2StreamValidate_(benchmark::State &state)
{
    const std::string path = CatalogDocument(static_cast<int>(state.range(0)));
    xmlSchemaParserCtxt *pParser = xmlSchemaNewParserCtxt(schemaOf(path).c_str());
    xmlSchema *pSchema = xmlSchemaParse(pParser);
    std::size_t peak = 0;
    for (auto _ : state) {
        malloc_trim(0);
        ResetPeakMemory();
        xmlTextReader *pReader = xmlReaderForFile(path.c_str(), nullptr, 0);
        xmlTextReaderSetSchema(pReader, pSchema);
        while (xmlTextReaderRead(pReader) == 1) {
        }
        if (xmlTextReaderIsValid(pReader) != 1)
            state.SkipWithError("the catalog did not validate");
        xmlFreeTextReader(pReader);
        peak = std::max(peak, PeakMemorySinceReset());
    }
    xmlSchemaFree(pSchema);
    xmlSchemaFreeParserCtxt(pParser);
    SetMemoryCounters(state, path, peak);
}

void registerAll()
{
    const std::pair<const char *, void (*)(benchmark::State &)> benchmarks[] = {
        {"MirrorTree", MirrorTree_},
        {"FindXPathElements", FindXPathElements_},
        {"libxml2_xmlReadFile_XPath", libxml2XPath_},
        {"ValidateDocument_XSD", ValidateDocument_},
        {"libxml2_reader_XSD", libxml2StreamValidate_},
    };
    for (const int size : {10, 100}) {
        for (const auto &[name, function] : benchmarks) {
            benchmark::RegisterBenchmark(name, function)
                ->Arg(size)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(size >= 100 ? 2 : 5);
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    SetMessageBoxHandler([](const QString &) {});
    xmlInitParser();
    registerAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
