#include "UrlFetch.h"

#include <curl/curl.h>
#include <mutex>

namespace dom
{
namespace
{

constexpr std::size_t kMaxBody = std::size_t{1} << 31;

std::size_t appendBody(char *data, std::size_t size, std::size_t count, void *target)
{
    auto *body = static_cast<std::string *>(target);
    const std::size_t bytes = size * count;
    if (body->size() + bytes > kMaxBody)
        return 0; // makes curl fail the transfer
    body->append(data, bytes);
    return bytes;
}

} // namespace

bool FetchUrl(const std::string &url, std::string *body, std::string *error, long timeoutSeconds)
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

    body->clear();
    CURL *curl = curl_easy_init();
    if (curl == nullptr) {
        *error = "The network library could not be started.";
        return false;
    }
    char message[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, timeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, timeoutSeconds < 10 ? timeoutSeconds : 10L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, message);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, body);
    const CURLcode result = curl_easy_perform(curl);
    curl_easy_cleanup(curl);
    if (result != CURLE_OK) {
        *error = message[0] != '\0' ? message : curl_easy_strerror(result);
        body->clear();
        return false;
    }
    return true;
}

} // namespace dom
