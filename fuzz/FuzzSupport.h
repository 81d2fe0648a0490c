#pragma once

// What the fuzz targets share: a quiet message box, fuzzed strings that find the XML rules
// quickly, and a comparison of two DOM trees that says where they first differ.

#include "Document.h"

#include <QString>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

// Routes message boxes nowhere (once per process).
void QuietMessages();

// A short string: pieces of XML syntax and names, or raw bytes.
QString FuzzedText(FuzzedDataProvider &input);

// The kind of a grid row: attribute, text, CDATA section, processing instruction or comment.
dom::NodeType FuzzedRowKind(FuzzedDataProvider &input);

// How FirstDifference reads the first tree.
enum class TreeReading {
    Exact,
    // As a save and a load would give it back: neighbouring text nodes are one text, a text of
    // white space only is layout (dropped) unless xml:space="preserve" is in scope, and a CDATA
    // section holding "]]>" is the several sections the writer splits it into.
    AsReloaded,
};

// The first difference between the trees under `a` and `b` (kinds, names, values, attribute
// order, document type text), as a path and what differs; empty when they are the same.
// *pLayoutDropped (when given) tells whether reading `a` AsReloaded dropped a text.
std::string FirstDifference(const dom::Node &a, const dom::Node &b,
                            TreeReading reading = TreeReading::Exact,
                            bool *pLayoutDropped = nullptr);

// The first broken rule of the node tree under `document`, or "": every child names its parent
// and its neighbours back, the document holds at most one element and no text, leaves hold no
// children, attributes are only in attribute lists (each list walked the same way by index and
// by neighbour, names unique, each naming its element), and no node is reachable twice.
std::string BrokenTreeRule(const dom::Document &document);

// The data a committed character-data row of `kind` leaves in the node: a reader drops the
// blanks between a processing instruction's target and its data, and those ending the XML
// declaration, so the commit does too.
std::string ReadBackData(dom::NodeType kind, const std::string &name, std::string value);

// Stops the run with `what` on stderr: a finding.
[[noreturn]] void Finding(const std::string &what);
