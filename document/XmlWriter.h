#pragma once

// The editor's own XML layout: tabs for depth, CR LF line ends, start and end tags for every
// element, attributes in map order; mixed content stays on one line so saving never adds
// white space to a text.

#include "Document.h"
#include "HResult.h"
#include "XmlSink.h"

#include <QString>
#include <string>

// Writes `document` (the document node; a null node writes an empty file) to `path` through
// a temporary file renamed over the target only when every byte was written. On failure shows
// "Cannot save <path>:" with the reason, leaves any old file untouched and returns E_FAIL.
HRESULT WriteXMLFile(const dom::Node &document, const QString &path);

// Writes `node` at `depth` (the document node has depth 0) and its subtree into `sink`.
// Returns false when the node holds something XML cannot represent (sink.error() says what).
bool WriteXMLNode(const dom::Node &node, XmlSink &sink, int depth);

// The bytes WriteXMLFile would write, for tests and the command line; empty with *error set
// when the content cannot be written.
std::string WriteXMLString(const dom::Node &document, std::string *error = nullptr);
