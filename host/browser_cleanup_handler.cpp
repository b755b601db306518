#include "host/browser_cleanup_handler.h"

#include <cstdlib>

#include "host/dispatcher.h"
#include "host/log.h"
#include "host/room_user_data.h"
#include "host/url_access.h"
#include "page/last_viewed_card_action_handler.h"
#include "page/retry_get_online_action_handler.h"
#include "page/xloop_action_handler.h"

namespace XLoop {
namespace {

// The entry's value, with the entry cleared.
template <class T>
T* takeUserData(BrowserClient* client, const char* key) {
    auto* value = static_cast<T*>(client->getUserData(key));
    if (value != nullptr) client->setUserData(key, nullptr);
    return value;
}

void cancelAndRelease(Task* task) {
    if (task == nullptr) return;
    task->cancel();
    task->release();
}

}  // namespace

void XLoopBrowserCleanupHandler::onDestroy(BrowserClient* client) {
    auto* dispatcher = takeUserData<WorkerThreadDispatcher>(client, kInitialDispatcherKey);
    cancelAndRelease(takeUserData<URLAccessCheckTask>(client, kCheckTaskKey));
    cancelAndRelease(takeUserData<URLAccessResultTaskForInitialLoad>(client, kInitialLoadTaskKey));
    delete dispatcher;
    delete takeUserData<VEQ::XloopActionHandler>(client, kPreferenceHandlerKey);
    delete takeUserData<VEQ::XLoopRetryGetOnlineActionHandler>(client, kRetryHandlerKey);
    delete takeUserData<VEQ::XLoopWriteLastViewedCardIDActionHandler>(client, kLastViewedHandlerKey);
    std::free(takeUserData<char>(client, kUpdateInfoKey));
    // The library owns the page-load handler; only the pointer to it goes.
    takeUserData<void>(client, kPageLoadHandlerKey);
    logDebug("Shutting down dispatchers");
    destroyMainThreadDispatcher();
}

XLoopBrowserCleanupHandler& XLoopBrowserCleanupHandler::instance() {
    static XLoopBrowserCleanupHandler shared;
    return shared;
}

}  // namespace XLoop
