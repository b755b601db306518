// The exports through which the host keeps the room's state: whether the
// room view is forced (a preference), and whether the room was entered in a
// browser (for that browser's life).
#include <string>

#include "base/nullable_text.h"
#include "exports/host_call_checks.h"
#include "page/room_visit.h"
#include "prefs/preference_stores.h"
#include "runtime/boundary.h"
#include "runtime/log.h"
#include "xloop/xloop_client.h"

using namespace XLoop;

namespace {

constexpr char kViewForcedKey[] = "forcexloopview";

}  // namespace

extern "C" void SetXloopViewForced(bool forced, const char* userDataPath, const char* locale) {
    guardBoundary("SetXloopViewForced", [&] {
        checkHostCall("SetXloopViewForced", NeedsRunningModule::No);
        auto store = VEQ::getPreferenceStore(textOrEmpty(userDataPath), textOrEmpty(locale));
        logDebug("Setting XloopViewForced to %d", forced ? 1 : 0);
        VEQ::writePreference(store.get(), kViewForcedKey, forced ? "true" : "false");
    });
}

extern "C" bool IsXLoopViewForced(const char* userDataPath, const char* locale) {
    return guardBoundary("IsXLoopViewForced", false, [&]() -> bool {
        checkHostCall("IsXLoopViewForced", NeedsRunningModule::No);
        auto store = VEQ::getPreferenceStore(textOrEmpty(userDataPath), textOrEmpty(locale));
        const std::string value = VEQ::readPreference(store.get(), kViewForcedKey, "false");
        logDebug("Reading XLoop View Forced Preference: %s", value.c_str());
        return value == "true";
    });
}

extern "C" bool IsXloopRoomVisited(BrowserClient* client) {
    return guardBoundary("IsXloopRoomVisited", false, [&]() -> bool {
        checkHostCall("IsXloopRoomVisited", NeedsRunningModule::Yes);
        return client != nullptr && roomVisited(client);
    });
}

extern "C" void NotifyXLoopRoomVisited(BrowserClient* client) {
    guardBoundary("NotifyXLoopRoomVisited", [&] {
        checkHostCall("NotifyXLoopRoomVisited", NeedsRunningModule::Yes);
        if (client == nullptr) return;
        enterRoom(client);
    });
}
