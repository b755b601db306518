// The export that makes a fully wired room browser.
#include <memory>

#include "base/nullable_text.h"
#include "host/boundary.h"
#include "host/browser_cleanup_handler.h"
#include "host/browser_creation.h"
#include "host/dispatcher.h"
#include "host/room_user_data.h"
#include "host/ui_thread.h"
#include "host/url_access.h"
#include "page/last_viewed_card_action_handler.h"
#include "page/page_load_handler.h"
#include "page/retry_get_online_action_handler.h"
#include "page/xloop_action_handler.h"
#include "xloop/xloop_client.h"

using namespace XLoop;

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

extern "C" BrowserClient* CreateBrowserClientWithConfig(void* hostArg1, VEQConfiguration* config,
                                                        void* hostArg2) {
    return guardBoundary("CreateBrowserClientWithConfig", nullptr, [&]() -> BrowserClient* {
        XLOOP_ASSERT_UI_THREAD();
        if (config == nullptr || config->url == nullptr) return nullptr;
        StandardInitData initData;
        BrowserClient* client =
            CreateBrowserClientWithInitData(hostArg1, hostArg2, versionNumber(config->version), &initData.record);
        if (client == nullptr) return nullptr;

        auto presence = std::make_shared<ClientPresence>();
        auto pageLoadHandler = std::make_shared<VEQ::PageLoadHandler>(client, config, presence);
        client->setPageLoadHandler(pageLoadHandler);
        client->setUserData(kPageLoadHandlerKey, pageLoadHandler.get());
        startFirstCheck(client, *config, pageLoadHandler);
        installActionHandlers(client, config);
        client->setDestroyNotifier(XLoopBrowserCleanupHandler::create(presence));
        return client;
    });
}
