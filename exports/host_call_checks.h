// What the module checks of a host call before it does the call's work: that
// the call comes between InitializeVEQ and ShutDownVEQ where that matters, and
// on the thread that called InitializeVEQ. A finding is one log line naming
// the export, logged once per export and finding from one InitializeVEQ or
// ShutDownVEQ to the next, so that a host calling in a loop does not flood the
// log. The call then goes on as it would have: a host mistake is reported,
// never turned into a new failure.
#pragma once

namespace XLoop {

// Whether the call needs the browser library started and the UI-thread queue
// in place: it makes or uses a browser, or starts work whose result comes back
// through the queue.
enum class NeedsRunningModule { No, Yes };

void checkHostCall(const char* exportName, NeedsRunningModule needs);

// InitializeVEQ: binds the calling thread as the UI thread.
void markModuleStarted();
// ShutDownVEQ, once its own checks are done; a repeated one changes nothing.
void markModuleShutDown();

}  // namespace XLoop
