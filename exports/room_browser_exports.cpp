// The export that makes a fully wired room browser.
#include <string>
#include <utility>

#include "exports/host_call_checks.h"
#include "exports/room_browser.h"
#include "runtime/boundary.h"
#include "runtime/log.h"
#include "xloop/xloop_client.h"

using namespace XLoop;

namespace {

// The texts a room reads besides its url that GetVEQConfiguration always
// fills; a host that filled the record itself may have left them null.
std::string missingRoomTexts(const VEQConfiguration& config) {
    std::string missing;
    const std::pair<const char*, const char*> texts[] = {{"product", config.product},
                                                         {"version", config.version},
                                                         {"locale", config.locale},
                                                         {"userDataPath", config.userDataPath}};
    for (const auto& [name, text] : texts) {
        if (text == nullptr) missing += (missing.empty() ? "" : ", ") + std::string(name);
    }
    return missing;
}

}  // namespace

extern "C" BrowserClient* CreateBrowserClientWithConfig(void* hostArg1, VEQConfiguration* config,
                                                        void* hostArg2) {
    return guardBoundary("CreateBrowserClientWithConfig", nullptr, [&]() -> BrowserClient* {
        checkHostCall("CreateBrowserClientWithConfig", NeedsRunningModule::Yes);
        if (config == nullptr) {
            logDebug("CreateBrowserClientWithConfig refused: no configuration record");
            return nullptr;
        }
        if (config->url == nullptr) {
            logDebug("CreateBrowserClientWithConfig refused: the configuration record has no url");
            return nullptr;
        }
        const std::string missing = missingRoomTexts(*config);
        if (!missing.empty()) {
            logDebug("CreateBrowserClientWithConfig: the configuration record has no %s; taken as empty",
                     missing.c_str());
        }
        return createRoomBrowser(hostArg1, *config, hostArg2);
    });
}
