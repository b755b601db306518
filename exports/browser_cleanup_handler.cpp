#include "exports/browser_cleanup_handler.h"

#include <mutex>
#include <unordered_set>

#include "page/last_viewed_card_action_handler.h"
#include "page/retry_get_online_action_handler.h"
#include "page/room_user_data.h"
#include "page/update_info.h"
#include "page/xloop_action_handler.h"
#include "runtime/boundary.h"
#include "runtime/dispatcher.h"
#include "runtime/log.h"
#include "runtime/url_access.h"

namespace XLoop {
namespace {

// The entry's value, with the entry cleared.
template <class T>
T* takeUserData(BrowserClient* client, const char* key) {
    auto* value = static_cast<T*>(client->getUserData(key));
    if (value != nullptr) client->setUserData(key, nullptr);
    return value;
}

// The handlers alive, whoever deletes them: the library may do it on a
// thread of its own. Never destroyed, so a handler the library deletes while
// the process exits still finds it.
struct LiveHandlers {
    std::mutex lock;
    std::unordered_set<XLoopBrowserCleanupHandler*> handlers;
};

LiveHandlers& liveHandlers() {
    static auto* live = new LiveHandlers();
    return *live;
}

void cancelAndRelease(Task* task) {
    if (task == nullptr) return;
    task->cancel();
    task->release();
}

}  // namespace

XLoopBrowserCleanupHandler::XLoopBrowserCleanupHandler(std::shared_ptr<ClientPresence> presence,
                                                       MainThreadDispatcherHold queueHold)
    : presence(std::move(presence)), queueHold(std::move(queueHold)) {}

void XLoopBrowserCleanupHandler::onDestroy(BrowserClient* client) {
    guardBoundary("onDestroy", [&] {
        presence->markGone();
        auto* dispatcher = takeUserData<WorkerThreadDispatcher>(client, kInitialDispatcherKey);
        cancelAndRelease(takeUserData<URLAccessCheckTask>(client, kCheckTaskKey));
        cancelAndRelease(takeUserData<URLAccessResultTaskForInitialLoad>(client, kInitialLoadTaskKey));
        delete dispatcher;
        delete takeUserData<VEQ::XloopActionHandler>(client, kPreferenceHandlerKey);
        delete takeUserData<VEQ::XLoopRetryGetOnlineActionHandler>(client, kRetryHandlerKey);
        delete takeUserData<VEQ::XLoopWriteLastViewedCardIDActionHandler>(client, kLastViewedHandlerKey);
        dropUpdateInfo(client);
        // The library owns the page-load handler; only the pointer to it goes.
        takeUserData<void>(client, kPageLoadHandlerKey);
        logDebug("Shutting down dispatchers");
        queueHold.release();
    });
}

XLoopBrowserCleanupHandler* XLoopBrowserCleanupHandler::create(std::shared_ptr<ClientPresence> presence,
                                                               MainThreadDispatcherHold queueHold) {
    auto* handler = new XLoopBrowserCleanupHandler(std::move(presence), std::move(queueHold));
    std::lock_guard<std::mutex> guard(liveHandlers().lock);
    liveHandlers().handlers.insert(handler);
    return handler;
}

XLoopBrowserCleanupHandler::~XLoopBrowserCleanupHandler() {
    std::lock_guard<std::mutex> guard(liveHandlers().lock);
    liveHandlers().handlers.erase(this);
}

void XLoopBrowserCleanupHandler::deleteHandlersLeftByTheLibrary() {
    std::unordered_set<XLoopBrowserCleanupHandler*> left;
    {
        std::lock_guard<std::mutex> guard(liveHandlers().lock);
        left.swap(liveHandlers().handlers);
    }
    for (XLoopBrowserCleanupHandler* handler : left) delete handler;
}

}  // namespace XLoop
