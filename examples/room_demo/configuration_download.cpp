#include "examples/room_demo/configuration_download.h"

#include <curl/curl.h>

#include <memory>
#include <stdexcept>

namespace xloop_demo {
namespace {

// Far more than any configuration file; a larger answer is not one.
constexpr size_t kLargestBody = 16 * 1024 * 1024;

size_t appendBody(char* data, size_t size, size_t count, void* body) {
    auto* text = static_cast<std::string*>(body);
    if (text->size() + size * count > kLargestBody) return 0;  // ends the transfer
    text->append(data, size * count);
    return size * count;
}

}  // namespace

std::string downloadText(const std::string& url) {
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl) throw std::runtime_error("cannot start a download");
    std::string body;
    curl_easy_setopt(curl.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl.get(), CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl.get(), CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl.get(), CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_TIMEOUT, 60L);
    curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &body);
    const CURLcode code = curl_easy_perform(curl.get());
    if (code != CURLE_OK) throw std::runtime_error("cannot read " + url + ": " + curl_easy_strerror(code));
    return body;
}

}  // namespace xloop_demo
