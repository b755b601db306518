// The export that makes a fully wired room browser.
#include "base/ui_thread.h"
#include "exports/room_browser.h"
#include "runtime/boundary.h"
#include "xloop/xloop_client.h"

using namespace XLoop;

extern "C" BrowserClient* CreateBrowserClientWithConfig(void* hostArg1, VEQConfiguration* config,
                                                        void* hostArg2) {
    return guardBoundary("CreateBrowserClientWithConfig", nullptr, [&]() -> BrowserClient* {
        XLOOP_ASSERT_UI_THREAD();
        if (config == nullptr || config->url == nullptr) return nullptr;
        return createRoomBrowser(hostArg1, *config, hostArg2);
    });
}
