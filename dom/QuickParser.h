#pragma once

// A reader for the plain documents most files are: UTF-8, no document type declaration, no
// entities but the five predefined ones. It builds the very nodes the libxml2 load builds, in
// the same order, several times faster; anything else, and anything it finds wrong, it declines
// before a node of it is kept, and the caller hands the source to libxml2, whose messages name
// every fault.

#include "HResult.h"
#include "SaxLoader.h"

#include <cstdint>

namespace dom
{

class DocumentStore;

enum class QuickParse {
    Loaded,   // the document is in the store; store.parseError is clear
    Declined, // the store is as it was: read the source again with libxml2
    Stopped,  // cancelled through the progress callback, or out of memory: store.parseError
};

// Parses what `read` delivers into the empty document of `store`, telling `progress` (when
// set) of every buffer read, with `inputSize` as the total.
QuickParse QuickParseIntoStore(DocumentStore &store, const SourceRead &read,
                               std::uint64_t inputSize, const LoadProgress &progress = {});

// False when PELLIX_QUICK_PARSE=0 is set: every load goes through libxml2, to measure one
// against the other.
bool QuickParsingEnabled();

} // namespace dom
