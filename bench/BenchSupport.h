#pragma once

// Shared pieces of the benchmarks: generated documents and peak-memory measurement.

#include <cstddef>
#include <string>

// Path of a generated document of about `megabytes` MB (records with attributes, text and
// comments), made once and kept in the system's temporary folder.
std::string GeneratedDocument(int megabytes);

// Peak resident memory of the process since the last ResetPeakMemory(), in bytes above the
// resident size at that moment.
void ResetPeakMemory();
std::size_t PeakMemorySinceReset();
