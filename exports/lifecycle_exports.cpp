// The exports that start and stop the browser library and make plain clients.

#include "config/configuration_work.h"
#include "exports/browser_cleanup_handler.h"
#include "exports/browser_creation.h"
#include "exports/host_call_checks.h"
#include "platform/http_client.h"
#include "runtime/boundary.h"
#include "runtime/dispatcher.h"
#include "runtime/log.h"
#include "xloop/xloop_client.h"

using namespace XLoop;

extern "C" int InitializeVEQ(void* hostValue) {
    return guardBoundary("InitializeVEQ", 0, [&]() -> int {
        markModuleStarted();
        logDebug("Initializing VEQ framework...");
        platform::prepareHttp();
        createMainThreadDispatcher();
        const int result = InitializeBrowser(hostValue);
        if (result == 0) logDebug("InitializeBrowser failed with result %d", result);
        return result;
    });
}

extern "C" void ShutDownVEQ(void) {
    guardBoundary("ShutDownVEQ", [&] {
        checkHostCall("ShutDownVEQ", NeedsRunningModule::Yes);
        markModuleShutDown();
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
        checkHostCall("CreateBrowser", NeedsRunningModule::Yes);
        StandardInitData initData;
        return reportedCreation("CreateBrowser", CreateBrowserClientWithInitData(
                                                     hostArg1, hostArg2, versionNumber(version), &initData.record));
    });
}

extern "C" BrowserClient* CreateBrowserWithInitData(void* hostArg1, void* hostArg2,
                                                    const char* version,
                                                    BrowserInitData* initData) {
    return guardBoundary("CreateBrowserWithInitData", nullptr, [&]() -> BrowserClient* {
        checkHostCall("CreateBrowserWithInitData", NeedsRunningModule::Yes);
        StandardInitData standard;
        if (initData == nullptr) {
            // The library would read through the null; a host mistake must not crash the host.
            logDebug("CreateBrowserWithInitData called without init data; using the standard init data");
            initData = &standard.record;
        }
        return reportedCreation("CreateBrowserWithInitData",
                                CreateBrowserClientWithInitData(hostArg1, hostArg2, versionNumber(version), initData));
    });
}

extern "C" int SetIsLibShared(int isShared) {
    return guardBoundary("SetIsLibShared", 0, [&]() -> int {
        // A setting the library may want before it starts.
        checkHostCall("SetIsLibShared", NeedsRunningModule::No);
        return VEQSetIsLibShared(isShared);
    });
}

extern "C" int UpdateBrowserZoomScale(BrowserClient* client, double zoomScale) {
    return guardBoundary("UpdateBrowserZoomScale", 0, [&]() -> int {
        checkHostCall("UpdateBrowserZoomScale", NeedsRunningModule::Yes);
        return UpdateBrowserClientZoomScale(client, zoomScale);
    });
}
