#include "platform/http_client.h"

#include <curl/curl.h>
#include <strings.h>

#include <algorithm>
#include <cerrno>
#include <mutex>

namespace XLoop::platform {

struct HttpCancellation::State {
    std::mutex mutex;
    bool cancelled = false;
    // The exchange running under this cancellation; woken by cancel().
    CURLM* running = nullptr;
};

namespace {

constexpr char kCrackStep[] = "InternetOpen or InternetCrackUrl";
constexpr char kSendStep[] = "HttpSendRequest";
constexpr char kQueryStep[] = "HttpQueryInfo";
constexpr char kReadStep[] = "InternetReadFile";

void initializeCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// WinINet's number for the same failure, so that both platforms log alike.
int wininetError(CURLcode result, long osError) {
    switch (result) {
        case CURLE_UNSUPPORTED_PROTOCOL: return 12006;   // ERROR_INTERNET_UNRECOGNIZED_SCHEME
        case CURLE_URL_MALFORMAT: return 12005;          // ERROR_INTERNET_INVALID_URL
        case CURLE_COULDNT_RESOLVE_PROXY:
        case CURLE_COULDNT_RESOLVE_HOST: return 12007;   // ERROR_INTERNET_NAME_NOT_RESOLVED
        case CURLE_COULDNT_CONNECT: return 12029;        // ERROR_INTERNET_CANNOT_CONNECT
        case CURLE_OPERATION_TIMEDOUT: return kHttpErrorTimeout;
        case CURLE_WEIRD_SERVER_REPLY:
        case CURLE_GOT_NOTHING: return 12152;            // ERROR_HTTP_INVALID_SERVER_RESPONSE
        case CURLE_SEND_ERROR:
        case CURLE_RECV_ERROR:
        case CURLE_PARTIAL_FILE:                         // ERROR_INTERNET_CONNECTION_RESET / _ABORTED
            return osError == ECONNRESET ? 12031 : 12030;
        case CURLE_SSL_CONNECT_ERROR: return 12157;      // ERROR_INTERNET_SECURITY_CHANNEL_ERROR
        case CURLE_OUT_OF_MEMORY: return 8;              // ERROR_NOT_ENOUGH_MEMORY
        default: return 12004;                           // ERROR_INTERNET_INTERNAL_ERROR
    }
}

// libcurl reports every refused certificate alike; OpenSSL's verdict on the
// chain tells WinINet's cases apart.
int certificateError(long verifyResult) {
    constexpr long kChainHeld = 0;             // X509_V_OK: only the host name can have failed
    constexpr long kNameRefused = 1;           // what libcurl's own host name check leaves
    constexpr long kNotYetValid = 9;           // X509_V_ERR_CERT_NOT_YET_VALID
    constexpr long kExpired = 10;              // X509_V_ERR_CERT_HAS_EXPIRED
    constexpr long kHostnameMismatch = 62;     // X509_V_ERR_HOSTNAME_MISMATCH
    switch (verifyResult) {
        case kChainHeld:
        case kNameRefused:
        case kHostnameMismatch: return 12038;  // ERROR_INTERNET_SEC_CERT_CN_INVALID
        case kNotYetValid:
        case kExpired: return 12037;           // ERROR_INTERNET_SEC_CERT_DATE_INVALID
        default: return 12045;                 // ERROR_INTERNET_INVALID_CA
    }
}

HttpAnswer failure(const char* step, int code) {
    HttpAnswer answer;
    answer.outcome = StepResult::failure(step, code);
    return answer;
}

// A URL WinINet could split into host and path, with a scheme it speaks.
bool checkURL(const std::string& url, HttpAnswer* answer) {
    CURLU* parts = curl_url();
    if (parts == nullptr) {
        *answer = failure(kCrackStep, 8);
        return false;
    }
    char* scheme = nullptr;
    const bool parsed = curl_url_set(parts, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK &&
                        curl_url_get(parts, CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK;
    const bool spoken = parsed && (strcasecmp(scheme, "http") == 0 || strcasecmp(scheme, "https") == 0);
    curl_free(scheme);
    curl_url_cleanup(parts);
    if (!parsed) *answer = failure(kCrackStep, 12005);
    else if (!spoken) *answer = failure(kCrackStep, 12006);
    return spoken;
}

struct BodySink {
    size_t limit;
    HttpAnswer* answer;
};

// Keeps the body up to its limit; a zero limit stops at the first byte, as
// only the status is wanted.
size_t collectBody(char* data, size_t size, size_t count, void* context) {
    auto* sink = static_cast<BodySink*>(context);
    const size_t bytes = size * count;
    if (sink->limit == 0) return 0;
    if (sink->answer->body.size() + bytes > sink->limit) {
        sink->answer->bodyTooLarge = true;
        sink->answer->body.clear();
        return 0;
    }
    sink->answer->body.append(data, bytes);
    return bytes;
}

void configure(CURL* request, const HttpExchange& exchange, BodySink* sink) {
    curl_easy_setopt(request, CURLOPT_URL, exchange.url.c_str());
    curl_easy_setopt(request, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(request, CURLOPT_USERAGENT, "XLoopRoom");
    curl_easy_setopt(request, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(exchange.timeoutMilliseconds));
    curl_easy_setopt(request, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(request, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(request, CURLOPT_SSL_VERIFYHOST, exchange.ignoreCertificateNameAndDate ? 0L : 2L);
    curl_easy_setopt(request, CURLOPT_TIMEOUT_MS, static_cast<long>(exchange.deadlineMilliseconds));
    // The receive time-out: a server that sends nothing for that long ends it.
    curl_easy_setopt(request, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(request, CURLOPT_LOW_SPEED_TIME,
                     std::max(1L, static_cast<long>(exchange.timeoutMilliseconds / 1000)));
    if (exchange.verb == HttpVerb::Head) {
        curl_easy_setopt(request, CURLOPT_NOBODY, 1L);
    } else {
        curl_easy_setopt(request, CURLOPT_HTTPGET, 1L);
        curl_easy_setopt(request, CURLOPT_WRITEFUNCTION, collectBody);
        curl_easy_setopt(request, CURLOPT_WRITEDATA, sink);
    }
}

// Runs the transfer until it ends or the cancellation fires; false when cancelled.
bool perform(CURLM* multi, HttpCancellation::State& state, CURLcode* result) {
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        if (state.cancelled) return false;
        state.running = multi;
    }
    bool cancelled = false;
    for (;;) {
        int running = 0;
        if (curl_multi_perform(multi, &running) != CURLM_OK) {
            *result = CURLE_FAILED_INIT;
            break;
        }
        if (running == 0) {
            int left = 0;
            while (CURLMsg* message = curl_multi_info_read(multi, &left)) {
                if (message->msg == CURLMSG_DONE) *result = message->data.result;
            }
            break;
        }
        curl_multi_poll(multi, nullptr, 0, 1000, nullptr);
        std::lock_guard<std::mutex> lock(state.mutex);
        if (state.cancelled) {
            cancelled = true;
            break;
        }
    }
    std::lock_guard<std::mutex> lock(state.mutex);
    state.running = nullptr;
    return !cancelled;
}

}  // namespace

void prepareHttp() {
    initializeCurlOnce();
}

HttpCancellation::HttpCancellation() : state(std::make_shared<State>()) {}

HttpCancellation::~HttpCancellation() = default;

void HttpCancellation::cancel() {
    std::lock_guard<std::mutex> lock(state->mutex);
    state->cancelled = true;
    if (state->running != nullptr) curl_multi_wakeup(state->running);
}

bool isFileURL(const std::string& url) {
    return strncasecmp(url.c_str(), "file:", 5) == 0;
}

HttpAnswer exchangeHttp(const HttpExchange& exchange, HttpCancellation& cancellation) {
    initializeCurlOnce();
    HttpAnswer answer;
    if (!checkURL(exchange.url, &answer)) return answer;
    CURL* request = curl_easy_init();
    CURLM* multi = curl_multi_init();
    if (request == nullptr || multi == nullptr || curl_multi_add_handle(multi, request) != CURLM_OK) {
        curl_easy_cleanup(request);
        curl_multi_cleanup(multi);
        return failure(kCrackStep, 8);
    }
    BodySink sink{exchange.bodyLimit, &answer};
    configure(request, exchange, &sink);

    CURLcode result = CURLE_OK;
    const bool finished = perform(multi, *cancellation.state, &result);
    long status = 0;
    long osError = 0;
    long verifyResult = 0;
    char* location = nullptr;
    curl_easy_getinfo(request, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_getinfo(request, CURLINFO_OS_ERRNO, &osError);
    curl_easy_getinfo(request, CURLINFO_SSL_VERIFYRESULT, &verifyResult);
    curl_easy_getinfo(request, CURLINFO_REDIRECT_URL, &location);
    answer.status = static_cast<int>(status);
    if (location != nullptr) answer.location = location;
    curl_multi_remove_handle(multi, request);
    curl_multi_cleanup(multi);
    curl_easy_cleanup(request);

    // A body refused on purpose, at once or past its limit, is not a failure
    // of the exchange.
    const bool bodyRefused = result == CURLE_WRITE_ERROR && (exchange.bodyLimit == 0 || answer.bodyTooLarge);
    if (!finished) {
        answer.outcome = StepResult::failure(kSendStep, kHttpErrorCancelled);
    } else if (result == CURLE_PEER_FAILED_VERIFICATION) {
        answer.outcome = StepResult::failure(kSendStep, certificateError(verifyResult));
    } else if (result != CURLE_OK && !bodyRefused) {
        answer.outcome = StepResult::failure(status != 0 ? kReadStep : kSendStep, wininetError(result, osError));
    } else if (status == 0) {
        answer.outcome = StepResult::failure(kQueryStep, 12150);  // ERROR_HTTP_HEADER_NOT_FOUND
    }
    return answer;
}

}  // namespace XLoop::platform
