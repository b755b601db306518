// The exports that start and stop the browser library and make plain clients.

#include "base/ui_thread.h"
#include "config/configuration_work.h"
#include "exports/browser_cleanup_handler.h"
#include "exports/browser_creation.h"
#include "platform/http_client.h"
#include "runtime/boundary.h"
#include "runtime/dispatcher.h"
#include "runtime/log.h"
#include "xloop/xloop_client.h"

using namespace XLoop;

extern "C" int InitializeVEQ(void* hostValue) {
    return guardBoundary("InitializeVEQ", 0, [&]() -> int {
        bindUiThread();
        logDebug("Initializing VEQ framework...");
        platform::prepareHttp();
        createMainThreadDispatcher();
        return InitializeBrowser(hostValue);
    });
}

extern "C" void ShutDownVEQ(void) {
    guardBoundary("ShutDownVEQ", [&] {
        XLOOP_ASSERT_UI_THREAD();
        logDebug("Cleaning up remaining tasks");
        stopConfigurationWork();
        logDebug("Shutting down VEQ framework");
        ShutdownBrowser();
        XLoopBrowserCleanupHandler::deleteHandlersLeftByTheLibrary();
        // Whatever room browsers the library left, the queue goes with it.
        destroyMainThreadDispatcher();
        logDebug("Shut down VEQ framework successfully");
    });
}

extern "C" BrowserClient* CreateBrowser(void* hostArg1, void* hostArg2, const char* version) {
    return guardBoundary("CreateBrowser", nullptr, [&]() -> BrowserClient* {
        XLOOP_ASSERT_UI_THREAD();
        StandardInitData initData;
        return CreateBrowserClientWithInitData(hostArg1, hostArg2, versionNumber(version), &initData.record);
    });
}

extern "C" BrowserClient* CreateBrowserWithInitData(void* hostArg1, void* hostArg2,
                                                    const char* version,
                                                    BrowserInitData* initData) {
    return guardBoundary("CreateBrowserWithInitData", nullptr, [&]() -> BrowserClient* {
        XLOOP_ASSERT_UI_THREAD();
        StandardInitData standard;
        if (initData == nullptr) {
            // The library would read through the null; a host mistake must not crash the host.
            logDebug("CreateBrowserWithInitData called without init data; using the standard init data");
            initData = &standard.record;
        }
        return CreateBrowserClientWithInitData(hostArg1, hostArg2, versionNumber(version), initData);
    });
}

extern "C" int SetIsLibShared(int isShared) {
    return guardBoundary("SetIsLibShared", 0, [&]() -> int {
        XLOOP_ASSERT_UI_THREAD();
        return VEQSetIsLibShared(isShared);
    });
}

extern "C" int UpdateBrowserZoomScale(BrowserClient* client, double zoomScale) {
    return guardBoundary("UpdateBrowserZoomScale", 0, [&]() -> int {
        XLOOP_ASSERT_UI_THREAD();
        return UpdateBrowserClientZoomScale(client, zoomScale);
    });
}
