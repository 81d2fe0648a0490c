#pragma once

#include <string>

namespace dom
{

// Fetches an http:// or https:// URL into `body`. Redirects may only lead to http or https;
// connecting may take 10 seconds at most, the whole transfer `timeoutSeconds`. Returns false
// with a short reason in `error` when the URL cannot be fetched, such as "HTTP 404 Not Found"
// (any status from 400 up) or "Could not connect to server".
bool FetchUrl(const std::string &url, std::string *body, std::string *error,
              long timeoutSeconds = 30);

} // namespace dom
