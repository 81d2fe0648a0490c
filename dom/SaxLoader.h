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

// Told how far a load has come (bytes done, and the total or 0 when it is not known); returns
// false to stop the load, which then fails with DOM_E_CANCELLED.
using LoadProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

// Parses the text that `read` delivers into the (empty) document of `store`. `inputSize` (an
// estimate is fine) bounds entity expansion and is the total told to `progress`, which (when
// set) hears of every megabyte read. Sets store.parseError and returns its code as an HRESULT
// (S_OK when the text was well-formed).
HRESULT ParseIntoStore(DocumentStore &store, const SourceRead &read, std::uint64_t inputSize,
                       const LoadProgress &progress = {});

} // namespace dom
