#pragma once

// The editor's own XML layout: tabs for depth (at most 255), CR LF line ends (inside values
// too), start and end tags for every element, attributes in map order; the content of an element
// holding text or CDATA stays on one line so saving never adds white space to a text. What XML
// cannot hold is refused, naming the node, rather than written into a file that cannot be read.

#include "Document.h"
#include "HResult.h"
#include "XmlSink.h"

#include <QString>
#include <string>
#include <string_view>

// Writes `document` (the document node; a null node writes an empty file) to `path` through
// a temporary file renamed over the target only when every byte was written. Returns "" on
// success, else the message for the user, "Cannot save <path>:\n<reason>", and leaves any old
// file untouched. Shows nothing. `progress` (when set) hears the bytes written after each
// block; when it returns false the save stops, leaves the old file as it was and returns
// kSaveCancelled.
std::string SaveXMLFile(const dom::Node &document, const QString &path,
                        const std::function<bool(std::uint64_t nWritten)> &progress = {});
// What SaveXMLFile returns when its progress callback stopped it.
inline constexpr std::string_view kSaveCancelled = "cancelled";

// The name prefix of the temporary files a save of the file named `fileName` writes in its
// folder (".pellix-" and a hash of the name; mkstemp adds six characters), short whatever the
// name's length. A save removes the ones earlier, killed saves of the same name left behind.
std::string TemporaryFilePrefix(std::string_view fileName);

// SaveXMLFile for a command the user ran: on failure shows its message and returns E_FAIL.
HRESULT WriteXMLFile(const dom::Node &document, const QString &path);

// Writes `node` at `depth` (the document node has depth 0) and its subtree into `sink`.
// Returns false when the node holds something XML cannot represent (sink.error() says what).
bool WriteXMLNode(const dom::Node &node, XmlSink &sink, int depth);

// The bytes WriteXMLFile would write, for tests, the command line and the clipboard; empty
// with *error set when the content cannot be written. Any other node than the document is
// written as the document would write it as its root element: its own line unindented.
std::string WriteXMLString(const dom::Node &node, std::string *error = nullptr);
