#pragma once

#include <cstdint>
#include <string>

namespace dom
{

// The outcome of the last load of a document. `errorCode` is 0 after a good load; a source that
// could not be read has a non-zero code and line 0.
struct ParseError {
    std::int32_t errorCode = 0;
    long line = 0;
    long linepos = 0;
    std::string url;
    std::string reason;
};

} // namespace dom
