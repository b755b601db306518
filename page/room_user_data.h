// The names under which a room browser keeps its objects as user data on
// its BrowserClient.
#pragma once

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

}  // namespace XLoop
