#include "PaneBenchMain.h"

#include "MessageBox.h"

#include <libxml/parser.h>

#include <QApplication>

int RunPaneBenchmarks(int argc, char **argv, const std::vector<PaneBenchmark> &benchmarks)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    SetMessageBoxHandler([](const QString &) {}); // the load's message would only be noise
    xmlInitParser();
    for (const PaneBenchmark &bench : benchmarks) {
        benchmark::RegisterBenchmark(bench.pszName, bench.fnRun)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(bench.nIterations);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
