#include "page/retry_get_online_action_handler.h"

#include "base/nullable_text.h"
#include "base/ui_thread.h"
#include "page/action_arguments.h"
#include "page/action_support.h"
#include "page/argument_names.h"
#include "page/host_calls.h"
#include "page/page_load_handler.h"
#include "page/room_user_data.h"
#include "runtime/log.h"

using XLoop::logDebug;

namespace XLoop {

void URLAccessResultTaskForRetryAction::run() {
    XLOOP_ASSERT_UI_THREAD();
    VEQ::XLoopRetryGetOnlineActionHandler* handler;
    {
        std::lock_guard<std::mutex> guard(handlerLock);
        handler = retryHandler;
    }
    if (handler == nullptr) return;
    logDebug("Retry is now complete with result : %d", accessible ? 1 : 0);
    BrowserClient* client = handler->client;
    const VEQConfiguration* config = handler->config;
    if (accessible && config != nullptr && client != nullptr) {
        client->loadURL(textOrEmpty(config->url).c_str());
    } else if (!accessible && client != nullptr) {
        callTrustedPage(client, "onRetryComplete();", "onRetryComplete");
    }
    endCheck(accessible);
}

void URLAccessResultTaskForRetryAction::onCancel() {
    std::lock_guard<std::mutex> guard(handlerLock);
    retryHandler = nullptr;
}

void URLAccessResultTaskForRetryAction::onDrop() {
    endCheck(false);
}

// The queue, or the dropping dispatcher, still holds this task here.
void URLAccessResultTaskForRetryAction::endCheck(bool roomAnswered) {
    std::lock_guard<std::mutex> guard(handlerLock);
    if (retryHandler == nullptr) return;
    retryHandler->checkEnded(roomAnswered);
    retryHandler = nullptr;
}

}  // namespace XLoop

namespace VEQ {

XLoopRetryGetOnlineActionHandler::XLoopRetryGetOnlineActionHandler(BrowserClient* client,
                                                                   const VEQConfiguration* config)
    : client(client), config(config) {}

// The tasks are cancelled outside checkLock: a result ending its check takes
// its own lock, then checkLock.
XLoopRetryGetOnlineActionHandler::~XLoopRetryGetOnlineActionHandler() {
    XLoop::RefPtr<XLoop::URLAccessCheckTask> check;
    XLoop::RefPtr<XLoop::URLAccessResultTaskForRetryAction> result;
    std::unique_ptr<XLoop::WorkerThreadDispatcher> worker;
    {
        std::lock_guard<std::mutex> guard(checkLock);
        check = std::move(checkTask);
        result = std::move(resultTask);
        worker = std::move(workerDispatcher);
    }
    if (check) check->cancel();
    if (result) result->cancel();
}

void XLoopRetryGetOnlineActionHandler::handleAction(const char*, const char* argumentsJson, char** result) {
    XLoop::serveAction(result, [&] {
        logDebug("Got request to retry connection...");
        // It takes no arguments: any the page sends are ignored.
        const std::optional<XLoop::ScriptObject> arguments = XLoop::readActionArguments("retryGetOnline", argumentsJson);
        if (arguments) XLoop::argumentsNamed("retryGetOnline", *arguments, {});
        if (retriesAnAnsweringRoom()) {
            logDebug("Warning: retryGetOnline from the room page, which the last retry found up and loaded again: "
                     "a room that answers is loaded again, so a page that retries as it starts reloads itself "
                     "without end");
        }
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

void XLoopRetryGetOnlineActionHandler::checkEnded(bool roomAnswered) {
    std::lock_guard<std::mutex> guard(checkLock);
    checkTask.reset();
    resultTask.reset();
    lastCheckAnswered = roomAnswered;
}

bool XLoopRetryGetOnlineActionHandler::retriesAnAnsweringRoom() {
    {
        std::lock_guard<std::mutex> guard(checkLock);
        if (!lastCheckAnswered || client == nullptr) return false;
    }
    // The library is called with no lock held.
    auto* pages = static_cast<const PageLoadHandler*>(client->getUserData(XLoop::kPageLoadHandlerKey));
    return pages != nullptr && pages->showsRoomPage();
}

}  // namespace VEQ
