#pragma once

// Loading a document and telling the user how it went.

#include "Document.h"
#include "HResult.h"

#include <QString>

// Loads `source` (path or URL) into `document` and checks the outcome. Returns 0 when the
// document loaded, otherwise the parse error code (or the failure of the call). `progress`, as
// for dom::Document::load, hears how far the load has come and may stop it: no message is
// shown then, and DOM_E_CANCELLED is returned.
HRESULT LoadDOM(const dom::Document &document, const QString &source,
                const dom::LoadProgress &progress = {});

// Reports the outcome of the last load: "XML document loaded successfully\n" or the parse
// error. Returns the error code, 0 on success.
HRESULT CheckParseResult(const dom::Document &document);

// Shows "Error on line L, position P \n" followed by the reason when the error has a line
// number; otherwise the source could not be read, and the message is "Cannot open URL:\n<url>\n
// <reason>" for a URL, "Cannot open <path>:\n<reason>" for a file. Returns E_FAIL.
HRESULT ReportParseError(const dom::ParseError &error);
