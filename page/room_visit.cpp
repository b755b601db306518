#include "page/room_visit.h"

#include <cstdint>

#include "page/host_calls.h"
#include "page/last_viewed_card_action_handler.h"
#include "page/room_user_data.h"
#include "runtime/log.h"

namespace XLoop {
namespace {

// The value stored in the pointer-sized user data.
constexpr intptr_t kRoomVisited = 1;

}  // namespace

bool roomVisited(BrowserClient* client) {
    auto value = reinterpret_cast<intptr_t>(client->getUserData(kRoomVisitedKey));
    return static_cast<int32_t>(value) == kRoomVisited;
}

void enterRoom(BrowserClient* client) {
    auto* handler =
        static_cast<VEQ::XLoopWriteLastViewedCardIDActionHandler*>(client->getUserData(kLastViewedHandlerKey));
    if (handler == nullptr) return;
    if (handler->markRoomVisited()) {
        logDebug("Entered XLoop for the first time");
        handler->flushPendingValues();
    }
    // A page that is not shown now learns it from the next trusted load's payload.
    callTrustedPage(client, "xloopRoomVisited();", "xloopRoomVisited");
    client->setUserData(kRoomVisitedKey, reinterpret_cast<void*>(kRoomVisited));
}

}  // namespace XLoop
