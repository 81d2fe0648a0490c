#pragma once

#include "SaxLoader.h"

#include <cstddef>
#include <string>

namespace dom
{

// The most a document fetched from a URL may hold: past it the fetch fails with a message
// naming the limit, before memory runs out.
constexpr std::size_t kMaxUrlBytes = std::size_t{1} << 30;

// Fetches an http:// or https:// URL into `body`. Redirects may only lead to http or https;
// connecting may take 10 seconds at most, the whole transfer `timeoutSeconds`. A body larger
// than `maxBytes` is refused as soon as it is announced or has come that far. `progress` (when
// set) hears of the bytes received, at least about once a second, even while connecting, and
// stops the fetch when it returns false. Returns false with a short reason in `error` when the
// URL cannot be fetched, such as "HTTP 404 Not Found" (any status from 400 up), "Could not
// connect to server" or, after a stop, "Cancelled".
bool FetchUrl(const std::string &url, std::string *body, std::string *error,
              long timeoutSeconds = 30, const LoadProgress &progress = {},
              std::size_t maxBytes = kMaxUrlBytes);

// What a fetch that `FetchUrl` stopped on the caller's word says in `error`.
constexpr const char *kFetchCancelled = "Cancelled";

} // namespace dom
