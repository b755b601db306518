#include "platform/http_client.h"

#include <curl/curl.h>
#include <strings.h>

#include <cstring>
#include <mutex>

#include "host/log.h"

namespace XLoop::platform {
namespace {

void initializeCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// Stops a GET at its first body byte: only the status is wanted.
size_t refuseBody(char*, size_t, size_t, void*) {
    return 0;
}

bool splitsIntoHostAndPath(const std::string& url) {
    CURLU* parts = curl_url();
    if (parts == nullptr) return false;
    CURLUcode result = curl_url_set(parts, CURLUPART_URL, url.c_str(), 0);
    curl_url_cleanup(parts);
    if (result != CURLUE_OK) {
        logDebug("Error in InternetOpen or InternetCrackUrl: %d\n", static_cast<int>(result));
        return false;
    }
    return true;
}

}  // namespace

bool isFileURL(const std::string& url) {
    return strncasecmp(url.c_str(), "file:", 5) == 0;
}

bool requestHttpStatus(const std::string& url, const char* verb, int* status) {
    initializeCurlOnce();
    if (!splitsIntoHostAndPath(url)) return false;
    CURL* request = curl_easy_init();
    if (request == nullptr) {
        logDebug("Error in InternetOpen or InternetCrackUrl: %d\n", static_cast<int>(CURLE_FAILED_INIT));
        return false;
    }
    const bool head = std::strcmp(verb, "HEAD") == 0;
    curl_easy_setopt(request, CURLOPT_URL, url.c_str());
    curl_easy_setopt(request, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(request, CURLOPT_USERAGENT, "XLoopRoom");
    curl_easy_setopt(request, CURLOPT_CONNECTTIMEOUT_MS, 60000L);
    curl_easy_setopt(request, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(request, CURLOPT_FOLLOWLOCATION, 0L);
    // Like the Windows request, a certificate for another host name is accepted.
    curl_easy_setopt(request, CURLOPT_SSL_VERIFYHOST, 0L);
    // A server that stops sending for a minute ends the request instead of
    // holding the worker thread forever.
    curl_easy_setopt(request, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(request, CURLOPT_LOW_SPEED_TIME, 60L);
    if (head) {
        curl_easy_setopt(request, CURLOPT_NOBODY, 1L);
    } else {
        curl_easy_setopt(request, CURLOPT_HTTPGET, 1L);
        curl_easy_setopt(request, CURLOPT_WRITEFUNCTION, refuseBody);
    }

    CURLcode result = curl_easy_perform(request);
    long code = 0;
    curl_easy_getinfo(request, CURLINFO_RESPONSE_CODE, &code);
    curl_easy_cleanup(request);

    const bool bodyRefused = !head && result == CURLE_WRITE_ERROR;
    if (result != CURLE_OK && !bodyRefused) {
        logDebug("Error in HttpSendRequest: %d\n", static_cast<int>(result));
        return false;
    }
    if (code == 0) {
        logDebug("Error in HttpQueryInfo: %d\n", static_cast<int>(result));
        return false;
    }
    *status = static_cast<int>(code);
    return true;
}

}  // namespace XLoop::platform
