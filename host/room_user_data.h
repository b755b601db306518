// The names under which a room browser keeps its objects as user data on
// its BrowserClient, and the one integer value kept there.
#pragma once

#include <cstdint>
#include <mutex>

#include "xloop/veq_browser.h"

namespace XLoop {

constexpr char kPageLoadHandlerKey[] = "pageLoadHandlerInstance";
constexpr char kCheckTaskKey[] = "xLoopBackgroundURLAccessTask";
constexpr char kInitialLoadTaskKey[] = "xLoopInitialLoadingTask";
constexpr char kInitialDispatcherKey[] = "eXLoopInitialBackgroundDispatcher";
// The three action handlers, under the first action name each one serves.
constexpr char kPreferenceHandlerKey[] = "writePreference";
constexpr char kRetryHandlerKey[] = "retryGetOnline";
constexpr char kLastViewedHandlerKey[] = "writeLastViewedCardID";
constexpr char kUpdateInfoKey[] = "eXloopUpdateInfo";
constexpr char kRoomVisitedKey[] = "eXLoopRoomVisited";

// The update text is replaced and freed by the host's calls on its UI thread
// and read by the page-load handler on whichever thread the library calls it:
// both hold this lock while they touch it.
std::mutex& updateInfoLock();

// The room-visited value stored in the pointer-sized user data.
constexpr intptr_t kRoomVisited = 1;

// Whether the host has reported the room as entered in this browser.
inline bool roomVisited(BrowserClient* client) {
    auto value = reinterpret_cast<intptr_t>(client->getUserData(kRoomVisitedKey));
    return static_cast<int32_t>(value) == kRoomVisited;
}

}  // namespace XLoop
