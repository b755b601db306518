// "retryGetOnline": the page asks whether the room's URL answers again.
#pragma once

#include <memory>
#include <mutex>

#include "runtime/dispatcher.h"
#include "runtime/url_access.h"
#include "xloop/veq_browser.h"
#include "xloop/xloop_client.h"

namespace VEQ {
class XLoopRetryGetOnlineActionHandler;
}

namespace XLoop {

// Acts on a retry's answer on the UI thread: loads the room page when it
// answers, else tells the page with "onRetryComplete();" if the view shows a
// trusted one. Then the handler may start another check; it may too when the
// answer is dropped unrun.
class URLAccessResultTaskForRetryAction final : public URLAccessResultTask {
public:
    explicit URLAccessResultTaskForRetryAction(VEQ::XLoopRetryGetOnlineActionHandler* retryHandler)
        : retryHandler(retryHandler) {}

    void run() override;
    // The handler cancels on its way out: it is never touched again.
    void onCancel() override;
    void onDrop() override;

private:
    // Ends the handler's check, once, with whether the room answered, and
    // forgets the handler.
    void endCheck(bool roomAnswered);

    // A drop may come on any thread while the handler is being deleted on
    // another: the pointer is read and cleared under this lock.
    std::mutex handlerLock;
    VEQ::XLoopRetryGetOnlineActionHandler* retryHandler;  // not owned; null once done
};

}  // namespace XLoop

namespace VEQ {

// Starts one reachability check at a time, on a worker thread of its own
// made on the first retry. Deleting the handler stops a check in flight.
class XLoopRetryGetOnlineActionHandler final : public JSActionHandler {
public:
    // The record must outlive the handler.
    XLoopRetryGetOnlineActionHandler(BrowserClient* client, const VEQConfiguration* config);
    ~XLoopRetryGetOnlineActionHandler() override;

    void handleAction(const char* actionName, const char* argumentsJson, char** result) override;

private:
    friend class XLoop::URLAccessResultTaskForRetryAction;

    void startCheck();
    // The check's answer was acted on or will never be (then roomAnswered is
    // false).
    void checkEnded(bool roomAnswered);
    // A retry from the room page after the last retry found the room up and
    // loaded it: a page that retries as it starts reloads itself without end.
    bool retriesAnAnsweringRoom();

    BrowserClient* client;
    const VEQConfiguration* config;
    // The page's call may come on a thread of the browser library's, the
    // answer on the UI thread: the four below are held under it.
    std::mutex checkLock;
    std::unique_ptr<XLoop::WorkerThreadDispatcher> workerDispatcher;
    // Both set while a check is in flight.
    XLoop::RefPtr<XLoop::URLAccessCheckTask> checkTask;
    XLoop::RefPtr<XLoop::URLAccessResultTaskForRetryAction> resultTask;
    // Whether the last check that ended found the room answering.
    bool lastCheckAnswered = false;
};

}  // namespace VEQ
