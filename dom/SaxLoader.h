#pragma once

// Fills a node store from XML text through libxml2's SAX2 interface. libxml2's headers stay
// inside SaxLoader.cpp.

#include "HResult.h"

#include <cstdint>
#include <functional>
#include <string_view>

namespace dom
{

class DocumentStore;

// Reads up to `size` bytes into `buffer`; returns the count, 0 at the end, -1 on an error.
using SourceRead = std::function<int(char *buffer, int size)>;

// Parses the text that `read` delivers into the (empty) document of `store`. `inputSize` (an
// estimate is fine) bounds entity expansion. Sets store.parseError and returns its code as
// an HRESULT (S_OK when the text was well-formed).
HRESULT ParseIntoStore(DocumentStore &store, const SourceRead &read, std::uint64_t inputSize);

} // namespace dom
