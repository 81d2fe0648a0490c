#pragma once

// The main of the benchmarks that drive document windows: a QApplication offscreen, message
// boxes silenced, libxml2 set up, then each benchmark with its fixed number of iterations.

#include <benchmark/benchmark.h>

#include <vector>

struct PaneBenchmark {
    const char *pszName;
    void (*fnRun)(benchmark::State &state);
    int nIterations;
};

int RunPaneBenchmarks(int argc, char **argv, const std::vector<PaneBenchmark> &benchmarks);
