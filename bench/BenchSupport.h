#pragma once

// Shared pieces of the benchmarks: generated documents and peak-memory measurement.

#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>

// Path of a generated document of about `megabytes` MB (records with attributes, text and
// comments), made once and kept in the system's temporary folder.
std::string GeneratedDocument(int megabytes);

// Path of a catalog of about `megabytes` MB written by bench/make_catalog.py (records with a
// kind attribute from alpha to zeta, nested tags and mixed content), made once and kept in the
// system's temporary folder, with the XML Schema it follows beside it (same name, ".xsd").
// Empty when the script could not run.
std::string CatalogDocument(int megabytes);

// Peak resident memory of the process since the last ResetPeakMemory(), in bytes above the
// resident size at that moment.
void ResetPeakMemory();
std::size_t PeakMemorySinceReset();

// Sets the counters file_MB, peak_MB and peak_x_file for the document at `path`.
void SetMemoryCounters(benchmark::State &state, const std::string &path, std::size_t peak);

// The reference: libxml2's own tree built by xmlReadFile from `path`, timed without freeing it.
void RunXmlReadFile(benchmark::State &state, const std::string &path);
