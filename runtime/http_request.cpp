#include "runtime/http_request.h"

#include "base/ascii.h"
#include "runtime/log.h"

namespace XLoop {
namespace {

bool isRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// To http or https, and never from a secure URL to a plain one, as WinINet
// refuses by itself.
bool mayFollow(const std::string& from, const std::string& to) {
    if (startsWithIgnoringCase(to, "https://")) return true;
    return startsWithIgnoringCase(to, "http://") && !startsWithIgnoringCase(from, "https://");
}

platform::HttpAnswer timedOut() {
    platform::HttpAnswer answer;
    answer.outcome = platform::StepResult::failure("HttpSendRequest", platform::kHttpErrorTimeout);
    return answer;
}

}  // namespace

std::atomic<std::chrono::milliseconds> g_httpTimeout{std::chrono::milliseconds(60000)};
std::atomic<std::chrono::milliseconds> g_httpDeadline{std::chrono::minutes(5)};

platform::HttpAnswer requestFollowingRedirects(platform::HttpExchange exchange,
                                               platform::HttpCancellation& cancellation, std::string* finalURL) {
    using std::chrono::steady_clock;
    exchange.timeoutMilliseconds = static_cast<unsigned>(g_httpTimeout.load().count());
    const steady_clock::time_point deadline = steady_clock::now() + g_httpDeadline.load();
    platform::HttpAnswer answer;
    for (int redirects = 0;; ++redirects) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - steady_clock::now());
        if (left.count() <= 0) {
            answer = timedOut();
            break;
        }
        exchange.deadlineMilliseconds = static_cast<unsigned>(left.count());
        answer = platform::exchangeHttp(exchange, cancellation);
        // Without a target the redirect itself is the answer.
        if (answer.outcome.ok && isRedirect(answer.status) && !answer.location.empty()) {
            if (redirects < kMaxRedirects && mayFollow(exchange.url, answer.location)) {
                exchange.url = answer.location;
                continue;
            }
            answer.outcome = platform::StepResult::failure("HttpSendRequest", platform::kHttpErrorRedirectFailed);
        }
        break;
    }
    if (!answer.outcome.ok) logDebug("Error in %s: %d\n", answer.outcome.step, answer.outcome.code);
    if (finalURL != nullptr) *finalURL = exchange.url;
    return answer;
}

}  // namespace XLoop
