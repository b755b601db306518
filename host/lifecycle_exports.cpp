// The exports that start and stop the browser library and make plain clients.

#include "host/dispatcher.h"
#include "host/log.h"
#include "host/module_state.h"
#include "host/browser_creation.h"
#include "platform/ui_queue.h"
#include "xloop/xloop_client.h"

using namespace XLoop;

namespace {

// Stops a background task the way every owner does, and forgets it so that a
// second shutdown finds nothing to release.
void cancelAndRelease(Task*& task) {
    if (task == nullptr) return;
    task->cancel();
    task->release();
    task = nullptr;
}

}  // namespace

extern "C" int InitializeVEQ(void* hostValue) {
    logDebug("Initializing VEQ framework...");
    if (g_dispatcherWindow.load() == nullptr) g_dispatcherWindow.store(platform::createUiQueue());
    return InitializeBrowser(hostValue);
}

extern "C" void ShutDownVEQ(void) {
    logDebug("Cleaning up remaining tasks");
    cancelAndRelease(g_configFetchTask);
    cancelAndRelease(g_configUpdateTask);
    delete g_configWorkerDispatcher;
    g_configWorkerDispatcher = nullptr;
    logDebug("Shutting down VEQ framework");
    ShutdownBrowser();
    logDebug("Shut down VEQ framework successfully");
}

extern "C" BrowserClient* CreateBrowser(void* hostArg1, void* hostArg2, const char* version) {
    StandardInitData initData;
    return CreateBrowserClientWithInitData(hostArg1, hostArg2, versionNumber(version), &initData.record);
}

extern "C" BrowserClient* CreateBrowserWithInitData(void* hostArg1, void* hostArg2,
                                                    const char* version,
                                                    BrowserInitData* initData) {
    return CreateBrowserClientWithInitData(hostArg1, hostArg2, versionNumber(version), initData);
}

extern "C" int SetIsLibShared(int isShared) {
    return VEQSetIsLibShared(isShared);
}

extern "C" int UpdateBrowserZoomScale(BrowserClient* client, double zoomScale) {
    return UpdateBrowserClientZoomScale(client, zoomScale);
}
