#include "page/host_calls.h"

#include "page/page_load_handler.h"
#include "page/room_user_data.h"
#include "runtime/log.h"

namespace XLoop {

bool callTrustedPage(BrowserClient* client, const std::string& script, const char* function) {
    auto* handler = static_cast<const VEQ::PageLoadHandler*>(client->getUserData(kPageLoadHandlerKey));
    std::string shown;
    if (handler == nullptr || !handler->showsTrustedPage(shown)) {
        logDebug("Holding back %s: the view shows %s, not the room or the offline page", function,
                 shown.empty() ? "no page" : shown.c_str());
        return false;
    }
    client->executeScript(script.c_str());
    return true;
}

}  // namespace XLoop
