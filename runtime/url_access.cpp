#include "runtime/url_access.h"

#include "base/address_ambiguity.h"
#include "base/ui_thread.h"
#include "runtime/dispatcher.h"
#include "runtime/http_request.h"
#include "runtime/log.h"

namespace XLoop {

namespace {

// The status of the answer, 0 when none came. Whether a server answers does
// not hang on its certificate's name or dates.
int statusOf(const char* url, platform::HttpVerb verb, platform::HttpCancellation& cancellation) {
    platform::HttpExchange exchange{url, verb, 0};
    exchange.ignoreCertificateNameAndDate = true;
    platform::HttpAnswer answer = requestFollowingRedirects(exchange, cancellation);
    if (!answer.outcome.ok) return 0;
    logDebug("Request Status: %d\n", answer.status);
    return answer.status;
}

}  // namespace

bool IsURLAccessible(const char* url) {
    platform::HttpCancellation never;
    return IsURLAccessible(url, never);
}

bool IsURLAccessible(const char* url, platform::HttpCancellation& cancellation) {
    if (url == nullptr) {
        logDebug("IsURLAccessible called without a URL\n");
        return false;
    }
    logDebug("Calling IsURLAccessible for : %s\n", url);
    if (platform::isFileURL(url)) return true;
    // The browser and the HTTP library could each read such an address as a
    // site of its own: asking one of them says nothing of the other.
    if (const char* ambiguity = addressAmbiguity(url)) {
        logDebug("Not checking %s: %s", url, ambiguity);
        return false;
    }

    int status = statusOf(url, platform::HttpVerb::Head, cancellation);
    if (status == 405 || status == 501) {
        // A server that does not implement HEAD is not an offline server.
        status = statusOf(url, platform::HttpVerb::Get, cancellation);
    }
    return status == 200;
}

URLAccessCheckTask::URLAccessCheckTask(std::string url, RefPtr<URLAccessResultTask> resultTask)
    : resultTask(std::move(resultTask)), url(std::move(url)) {}

void URLAccessCheckTask::run() {
    logDebug("Checking if URL %s is accessible", url.c_str());
    resultTask->accessible = IsURLAccessible(url.c_str(), cancellation);
    logDebug("URL %s accessibility result: %d", url.c_str(), resultTask->accessible ? 1 : 0);
    MainThreadDispatcher().post(resultTask.get());
}

void URLAccessCheckTask::onCancel() {
    cancellation.cancel();
}

URLAccessResultTaskForInitialLoad::URLAccessResultTaskForInitialLoad(
    BrowserClient* client, std::string onlineURL, std::string offlineURL,
    std::shared_ptr<VEQ::IPageLoadHandler> pageLoadHandler)
    : onlineURL(std::move(onlineURL)),
      offlineURL(std::move(offlineURL)),
      client(client),
      pageLoadHandler(std::move(pageLoadHandler)) {}

void URLAccessResultTaskForInitialLoad::run() {
    XLOOP_ASSERT_UI_THREAD();
    if (accessible) {
        logDebug("URL %s is accessible", onlineURL.c_str());
        client->loadURL(onlineURL.c_str());
    } else {
        logDebug("URL %s is not accessible", onlineURL.c_str());
        // Without an offline page there is nothing to show: an empty URL
        // would be the browser's to make sense of.
        if (!offlineURL.empty()) client->loadURL(offlineURL.c_str());
    }
}

}  // namespace XLoop
