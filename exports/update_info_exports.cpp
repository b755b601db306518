// The export that hands the host's list of available updates to the room page.
#include <string>
#include <utility>

#include "exports/host_call_checks.h"
#include "page/update_info.h"
#include "runtime/boundary.h"
#include "runtime/log.h"
#include "xloop/xloop_client.h"

using namespace XLoop;

extern "C" void SetUpdateInfo(BrowserClient* client, int32_t count, const char* const* refIds,
                              const char* const* names, const char* const* descriptions) {
    guardBoundary("SetUpdateInfo", [&] {
        checkHostCall("SetUpdateInfo", NeedsRunningModule::Yes);
        logDebug("In Update Info");
        std::string payload = updateInfoPayload(count, refIds, names, descriptions);
        // The line keeps 1015 characters anyway; a precision stops the formatter
        // from walking a payload of any length.
        logDebug("%.1015s", payload.c_str());
        if (client == nullptr) return;

        sendUpdateInfo(client, std::move(payload));
    });
}
