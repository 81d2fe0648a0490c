#pragma once

// Validation against an XML Schema (.xsd), a RELAX NG schema (.rng) or a DTD (.dtd), by
// libxml2. Nothing a schema refers to is fetched from the network; local files it includes
// or imports are read. XSD and RELAX NG stream through libxml2's reader, so memory stays near
// the size of the text; libxml2 checks a DTD given apart from the document only on a tree.

#include "Document.h"

#include <string>
#include <string_view>
#include <vector>

enum class SchemaKind { Unknown, Xsd, RelaxNg, Dtd };

// The kind of schema a file holds, by its extension (any letter case).
SchemaKind SchemaKindOf(std::string_view path);

struct ValidationError {
    // 1-based; a column of 0 means libxml2 gave none.
    long nLine = 0;
    long nColumn = 0;
    std::string message;
    // The element the error is about (ValidateDocument only); null when none was found.
    dom::Node element;
};

struct ValidationReport {
    enum Status { Valid, Invalid, SchemaFailed, SourceFailed };
    Status status = Valid;
    // Why the schema or the source could not be used (SchemaFailed, SourceFailed).
    std::string reason;
    std::vector<ValidationError> errors;
};

// Validates the file at `sourcePath` as it is on disk; lines and columns are the file's.
ValidationReport ValidateFile(const std::string &schemaPath, const std::string &sourcePath);

// Validates `document` as the writer writes it (what Save would write); lines and columns are
// those of the written text (where libxml2 gives no column, the column of the element's start
// tag when it is on the error's line), and each error names the element it concerns. SourceFailed
// when the document is null or holds something the writer cannot write.
ValidationReport ValidateDocument(const dom::Document &document, const std::string &schemaPath);
