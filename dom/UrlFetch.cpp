#include "UrlFetch.h"

#include <curl/curl.h>
#include <mutex>
#include <new>

namespace dom
{
namespace
{

struct Transfer {
    std::string *body = nullptr;
    std::size_t maxBytes = 0;
    const LoadProgress *progress = nullptr;
    std::string statusLine; // the last response's, without its line end
    bool tooLarge = false;
    bool outOfMemory = false;
    bool cancelled = false;
};

// libcurl's callbacks are C frames: nothing may be thrown through them. Returning a count other
// than the one given makes curl fail the transfer.
std::size_t appendBody(char *data, std::size_t size, std::size_t count, void *target)
{
    auto *transfer = static_cast<Transfer *>(target);
    const std::size_t bytes = size * count;
    if (transfer->body->size() + bytes > transfer->maxBytes) {
        transfer->tooLarge = true;
        return 0;
    }
    try {
        transfer->body->append(data, bytes);
    } catch (const std::bad_alloc &) {
        transfer->outOfMemory = true;
        return 0;
    }
    return bytes;
}

// curl calls this about once a second while it waits, more often while data comes.
int reportTransfer(void *target, curl_off_t total, curl_off_t received, curl_off_t, curl_off_t)
{
    auto *transfer = static_cast<Transfer *>(target);
    try {
        if ((*transfer->progress)(static_cast<std::uint64_t>(received),
                                  static_cast<std::uint64_t>(total)))
            return 0;
    } catch (...) {
        // Nothing may be thrown through curl: a failing callback stops the fetch too.
    }
    transfer->cancelled = true;
    return 1;
}

std::size_t readHeader(char *data, std::size_t size, std::size_t count, void *target)
{
    auto *transfer = static_cast<Transfer *>(target);
    const std::string_view line(data, size * count);
    if (line.starts_with("HTTP/")) {
        try {
            transfer->statusLine.assign(line.substr(0, line.find_first_of("\r\n")));
        } catch (const std::bad_alloc &) {
            transfer->outOfMemory = true;
            return 0;
        }
    }
    return size * count;
}

// "HTTP 404 Not Found" from "HTTP/1.1 404 Not Found"; HTTP/2 sends no reason phrase.
std::string httpStatus(long code, std::string_view statusLine)
{
    std::string text = "HTTP " + std::to_string(code);
    const std::size_t codeAt = statusLine.find(' ');
    const std::size_t reasonAt =
        codeAt == std::string_view::npos ? codeAt : statusLine.find(' ', codeAt + 1);
    if (reasonAt != std::string_view::npos && reasonAt + 1 < statusLine.size())
        text.append(statusLine.substr(reasonAt));
    return text;
}

std::string failureText(CURL *curl, CURLcode result, const Transfer &transfer, const char *detail)
{
    if (transfer.cancelled)
        return kFetchCancelled;
    if (transfer.outOfMemory)
        return "Not enough memory for the document";
    if (transfer.tooLarge || result == CURLE_FILESIZE_EXCEEDED)
        return "The document is larger than " + std::to_string(transfer.maxBytes >> 20) +
               " MB, the most Pellix reads from a URL";
    switch (result) {
    case CURLE_HTTP_RETURNED_ERROR: {
        long code = 0;
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &code);
        return httpStatus(code, transfer.statusLine);
    }
    case CURLE_COULDNT_CONNECT:
        return "Could not connect to server";
    case CURLE_COULDNT_RESOLVE_HOST:
        return "Could not find the server";
    case CURLE_OPERATION_TIMEDOUT:
        return "The server did not answer in time";
    default:
        return detail[0] != '\0' ? detail : curl_easy_strerror(result);
    }
}

} // namespace

bool FetchUrl(const std::string &url, std::string *body, std::string *error, long timeoutSeconds,
              const LoadProgress &progress, std::size_t maxBytes)
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

    body->clear();
    CURL *curl = curl_easy_init();
    if (curl == nullptr) {
        *error = "The network library could not be started.";
        return false;
    }
    Transfer transfer;
    transfer.body = body;
    transfer.maxBytes = maxBytes;
    transfer.progress = &progress;
    char detail[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, timeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, timeoutSeconds < 10 ? timeoutSeconds : 10L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, detail);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, readHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &transfer);
    // A server that announces more than the limit is refused before its body comes.
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(maxBytes));
    if (progress) {
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, reportTransfer);
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
    }
    const CURLcode result = curl_easy_perform(curl);
    if (result != CURLE_OK) {
        *error = failureText(curl, result, transfer, detail);
        body->clear();
    }
    curl_easy_cleanup(curl);
    return result == CURLE_OK;
}

} // namespace dom
