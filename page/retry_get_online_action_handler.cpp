#include "page/retry_get_online_action_handler.h"

#include "base/nullable_text.h"
#include "host/log.h"
#include "host/ui_thread.h"
#include "page/action_support.h"

using XLoop::logDebug;

namespace XLoop {

void URLAccessResultTaskForRetryAction::run() {
    XLOOP_ASSERT_UI_THREAD();
    if (retryHandler == nullptr) return;
    logDebug("Retry is now complete with result : %d", accessible ? 1 : 0);
    BrowserClient* client = retryHandler->client;
    const VEQConfiguration* config = retryHandler->config;
    if (accessible && config != nullptr && client != nullptr) {
        client->loadURL(textOrEmpty(config->url).c_str());
    } else if (!accessible && client != nullptr) {
        client->executeScript("onRetryComplete();");
    }
    // The queue still holds this task while it runs.
    std::lock_guard<std::mutex> guard(retryHandler->checkLock);
    retryHandler->checkTask.reset();
    retryHandler->resultTask.reset();
    retryHandler = nullptr;
}

}  // namespace XLoop

namespace VEQ {

XLoopRetryGetOnlineActionHandler::XLoopRetryGetOnlineActionHandler(BrowserClient* client,
                                                                   const VEQConfiguration* config)
    : client(client), config(config) {}

XLoopRetryGetOnlineActionHandler::~XLoopRetryGetOnlineActionHandler() {
    std::lock_guard<std::mutex> guard(checkLock);
    if (checkTask) checkTask->cancel();
    checkTask.reset();
    if (resultTask) resultTask->cancel();
    resultTask.reset();
    workerDispatcher.reset();
}

void XLoopRetryGetOnlineActionHandler::handleAction(const char*, const char*, char** result) {
    XLoop::serveAction(result, [&] {
        logDebug("Got request to retry connection...");
        std::lock_guard<std::mutex> guard(checkLock);
        if (config != nullptr && client != nullptr && !checkTask) startCheck();
        return XLoop::ScriptObject();
    });
}

void XLoopRetryGetOnlineActionHandler::startCheck() {
    logDebug("Retrying for server reachability...");
    if (!workerDispatcher) workerDispatcher = XLoop::createWorkerThreadDispatcher();
    resultTask = XLoop::makeRef<XLoop::URLAccessResultTaskForRetryAction>(this);
    checkTask = XLoop::makeRef<XLoop::URLAccessCheckTask>(XLoop::textOrEmpty(config->url),
                                                         XLoop::RefPtr<XLoop::URLAccessResultTask>(resultTask));
    workerDispatcher->post(checkTask.get());
}

}  // namespace VEQ
