#include "host/http_request.h"

#include "host/log.h"

namespace XLoop {
namespace {

bool isRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

bool isHttpURL(const std::string& url) {
    auto startsWith = [&url](const char* prefix) {
        for (size_t i = 0; prefix[i] != 0; ++i) {
            if (i >= url.size() || (url[i] | 0x20) != prefix[i]) return false;
        }
        return true;
    };
    return startsWith("http://") || startsWith("https://");
}

}  // namespace

std::atomic<std::chrono::milliseconds> g_httpTimeout{std::chrono::milliseconds(60000)};

platform::HttpAnswer requestFollowingRedirects(platform::HttpExchange exchange,
                                               platform::HttpCancellation& cancellation) {
    exchange.timeoutMilliseconds = static_cast<unsigned>(g_httpTimeout.load().count());
    platform::HttpAnswer answer;
    for (int redirects = 0;; ++redirects) {
        answer = platform::exchangeHttp(exchange, cancellation);
        // Without a target the redirect itself is the answer.
        if (answer.outcome.ok && isRedirect(answer.status) && !answer.location.empty()) {
            if (redirects < kMaxRedirects && isHttpURL(answer.location)) {
                exchange.url = answer.location;
                continue;
            }
            answer.outcome = platform::StepResult::failure("HttpSendRequest", platform::kHttpErrorRedirectFailed);
        }
        break;
    }
    if (!answer.outcome.ok) logDebug("Error in %s: %d\n", answer.outcome.step, answer.outcome.code);
    return answer;
}

}  // namespace XLoop
