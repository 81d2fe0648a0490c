#pragma once

// What the fuzz targets share: a quiet message box, and a comparison of two DOM trees that
// says where they first differ.

#include "Node.h"

#include <string>

// Routes message boxes nowhere (once per process).
void QuietMessages();

// The first difference between the trees under `a` and `b` (kinds, names, values, attribute
// order, document type text), as a path and what differs; empty when they are the same.
std::string FirstDifference(const dom::Node &a, const dom::Node &b);

// Stops the run with `what` on stderr: a finding.
[[noreturn]] void Finding(const std::string &what);
