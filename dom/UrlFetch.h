#pragma once

#include <string>

namespace dom
{

// Fetches an http:// or https:// URL into `body`. Redirects may only lead to http or https;
// the whole transfer is bounded by `timeoutSeconds`. Returns false with a readable `error`
// when the URL cannot be fetched (including HTTP status 400 and above).
bool FetchUrl(const std::string &url, std::string *body, std::string *error,
              long timeoutSeconds = 30);

} // namespace dom
