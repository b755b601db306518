#include "exports/room_browser.h"

#include <memory>

#include "base/nullable_text.h"
#include "base/ui_thread.h"
#include "exports/browser_cleanup_handler.h"
#include "exports/browser_creation.h"
#include "page/last_viewed_card_action_handler.h"
#include "page/page_load_handler.h"
#include "page/retry_get_online_action_handler.h"
#include "page/room_user_data.h"
#include "page/xloop_action_handler.h"
#include "runtime/boundary.h"
#include "runtime/dispatcher.h"
#include "runtime/url_access.h"
#include "xloop/xloop_client.h"

namespace XLoop {
namespace {

// Starts the check that decides between the room page and the offline page,
// and leaves the creation references of its tasks, and its worker, to the
// client's user data.
void startFirstCheck(BrowserClient* client, const VEQConfiguration& config,
                     const std::shared_ptr<VEQ::PageLoadHandler>& pageLoadHandler) {
    auto resultTask = makeRef<URLAccessResultTaskForInitialLoad>(
        client, textOrEmpty(config.url), textOrEmpty(config.offlinePageURL), pageLoadHandler);
    auto checkTask = makeRef<URLAccessCheckTask>(textOrEmpty(config.url), RefPtr<URLAccessResultTask>(resultTask));
    std::unique_ptr<WorkerThreadDispatcher> dispatcher = createWorkerThreadDispatcher();
    dispatcher->post(checkTask.get());
    client->setUserData(kCheckTaskKey, checkTask.leak());
    client->setUserData(kInitialLoadTaskKey, resultTask.leak());
    client->setUserData(kInitialDispatcherKey, dispatcher.release());
}

void installActionHandlers(BrowserClient* client, const VEQConfiguration* config) {
    const std::string userDataPath = textOrEmpty(config->userDataPath);
    const std::string locale = textOrEmpty(config->locale);

    auto* general = new VEQ::XloopActionHandler(userDataPath, locale);
    for (const char* action : {"writePreference", "openURI", "readPreference", "writeLog"})
        client->registerActionHandler(action, general);
    client->setUserData(kPreferenceHandlerKey, general);

    auto* retry = new VEQ::XLoopRetryGetOnlineActionHandler(client, config);
    client->registerActionHandler("retryGetOnline", retry);
    client->setUserData(kRetryHandlerKey, retry);

    auto* lastViewed = new VEQ::XLoopWriteLastViewedCardIDActionHandler(userDataPath, locale);
    client->setUserData(kLastViewedHandlerKey, lastViewed);
    client->registerActionHandler("writeLastViewedCardID", lastViewed);
}

}  // namespace

BrowserClient* createRoomBrowser(void* hostArg1, const VEQConfiguration& config, void* hostArg2) {
    StandardInitData initData;
    BrowserClient* client = reportedCreation(
        "CreateBrowserClientWithConfig",
        CreateBrowserClientWithInitData(hostArg1, hostArg2, versionNumber(config.version), &initData.record));
    if (client == nullptr) return nullptr;

    // Before the first check, whose answer comes back through the queue.
    MainThreadDispatcherHold queueHold = MainThreadDispatcherHold::take();
    auto presence = std::make_shared<ClientPresence>();
    auto pageLoadHandler = std::make_shared<VEQ::PageLoadHandler>(client, &config, presence);
    client->setPageLoadHandler(pageLoadHandler);
    client->setUserData(kPageLoadHandlerKey, pageLoadHandler.get());
    startFirstCheck(client, config, pageLoadHandler);
    installActionHandlers(client, &config);
    client->setDestroyNotifier(XLoopBrowserCleanupHandler::create(presence, std::move(queueHold)));
    return client;
}

}  // namespace XLoop
