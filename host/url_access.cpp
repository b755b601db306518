#include "host/url_access.h"

#include "host/dispatcher.h"
#include "host/log.h"
#include "platform/http_client.h"

namespace XLoop {

bool IsURLAccessible(const char* url) {
    if (url == nullptr) {
        logDebug("IsURLAccessible called without a URL\n");
        return false;
    }
    logDebug("Calling IsURLAccessible for : %s\n", url);
    if (platform::isFileURL(url)) return true;

    int status = 0;
    if (!platform::requestHttpStatus(url, "HEAD", &status)) return false;
    logDebug("Request Status: %d\n", status);
    if (status == 405 || status == 501) {
        // A server that does not implement HEAD is not an offline server.
        if (!platform::requestHttpStatus(url, "GET", &status)) return false;
        logDebug("Request Status: %d\n", status);
    }
    return status == 200;
}

URLAccessCheckTask::URLAccessCheckTask(std::string url, URLAccessResultTask* resultTask)
    : resultTask(resultTask), url(std::move(url)) {
    resultTask->addRef();
}

URLAccessCheckTask::~URLAccessCheckTask() {
    resultTask->release();
}

void URLAccessCheckTask::run() {
    logDebug("Checking if URL %s is accessible", url.c_str());
    resultTask->accessible = IsURLAccessible(url.c_str());
    logDebug("URL %s accessibility result: %d", url.c_str(), resultTask->accessible ? 1 : 0);
    MainThreadDispatcher().post(resultTask);
}

URLAccessResultTaskForInitialLoad::URLAccessResultTaskForInitialLoad(
    BrowserClient* client, std::string onlineURL, std::string offlineURL,
    std::shared_ptr<VEQ::IPageLoadHandler> pageLoadHandler)
    : onlineURL(std::move(onlineURL)),
      offlineURL(std::move(offlineURL)),
      client(client),
      pageLoadHandler(std::move(pageLoadHandler)) {}

void URLAccessResultTaskForInitialLoad::run() {
    if (accessible) {
        logDebug("URL %s is accessible", onlineURL.c_str());
        client->loadURL(onlineURL.c_str());
    } else {
        logDebug("URL %s is not accessible", onlineURL.c_str());
        client->loadURL(offlineURL.c_str());
    }
}

}  // namespace XLoop
