#include "BenchSupport.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <sstream>

namespace
{

std::size_t statusValue(const char *key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(key) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(prefix, 0) == 0)
            return std::stoull(line.substr(prefix.size())) * 1024; // reported in kB
    }
    return 0;
}

std::size_t g_baseline = 0;

} // namespace

std::string GeneratedDocument(int megabytes)
{
    const auto path = std::filesystem::temp_directory_path() /
                      ("pellix-bench-" + std::to_string(megabytes) + "mb.xml");
    if (std::filesystem::exists(path))
        return path.string();
    const std::size_t target = static_cast<std::size_t>(megabytes) << 20;
    std::ofstream out(path.string() + ".part", std::ios::binary);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<records generator=\"pellix-bench\">\n";
    static const char *const types[] = {"alpha", "beta", "gamma", "delta"};
    std::size_t written = 0;
    for (std::size_t i = 1; written < target; ++i) {
        std::ostringstream record;
        record << "\t<record id=\"" << i << "\" type=\"" << types[i % 4] << "\" status=\""
               << (i % 3 == 0 ? "archived" : "active")
               << "\" created=\"2026-12-07T10:" << (i % 60) / 10 << i % 10 << ":00\">\n"
               << "\t\t<name>Record number " << i << "</name>\n"
               << "\t\t<value unit=\"kg\">" << (i % 1000) << "." << (i % 7) << "</value>\n"
               << "\t\t<!-- checked by batch " << i / 100 << " -->\n"
               << "\t\t<note>Free text &amp; more text for record " << i
               << ", long enough to look like a real note.</note>\n"
               << "\t</record>\n";
        const std::string text = record.str();
        out << text;
        written += text.size();
    }
    out << "</records>\n";
    out.close();
    std::filesystem::rename(path.string() + ".part", path);
    return path.string();
}

std::string CatalogDocument(int megabytes)
{
    const auto folder = std::filesystem::temp_directory_path();
    const std::string stem = "pellix-catalog-" + std::to_string(megabytes) + "mb";
    const std::string path = (folder / (stem + ".xml")).string();
    if (std::filesystem::exists(path))
        return path;
    const std::string command = "python3 '" PELLIX_BENCH_DIR "/make_catalog.py' " +
                                std::to_string(megabytes) + " '" + path + ".part' '" +
                                (folder / (stem + ".xsd")).string() + "'";
    if (std::system(command.c_str()) != 0)
        return {};
    std::filesystem::rename(path + ".part", path);
    return path;
}

void ResetPeakMemory()
{
    // Writing 5 to clear_refs resets the kernel's high-water mark of the resident set.
    if (std::FILE *file = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", file);
        std::fclose(file);
    }
    g_baseline = statusValue("VmRSS");
}

std::size_t PeakMemorySinceReset()
{
    const std::size_t peak = statusValue("VmHWM");
    return peak > g_baseline ? peak - g_baseline : 0;
}

void SetMemoryCounters(benchmark::State &state, const std::string &path, std::size_t peak)
{
    const double size = static_cast<double>(std::filesystem::file_size(path));
    state.counters["file_MB"] = size / (1 << 20);
    state.counters["peak_MB"] = static_cast<double>(peak) / (1 << 20);
    state.counters["peak_x_file"] = static_cast<double>(peak) / size;
}

void RunXmlReadFile(benchmark::State &state, const std::string &path)
{
    std::size_t peak = 0;
    for (auto _ : state) {
        malloc_trim(0);
        ResetPeakMemory();
        xmlDocPtr document = xmlReadFile(path.c_str(), nullptr, 0);
        if (document == nullptr)
            state.SkipWithError("load failed");
        peak = std::max(peak, PeakMemorySinceReset());
        state.PauseTiming();
        xmlFreeDoc(document);
        state.ResumeTiming();
    }
    SetMemoryCounters(state, path, peak);
}
