// The exports through which a Linux host runs the module's UI-thread tasks
// from its own event loop.
#include "exports/host_call_checks.h"
#include "platform/ui_queue.h"
#include "runtime/boundary.h"
#include "runtime/dispatcher.h"
#include "xloop/xloop_client.h"

using namespace XLoop;

extern "C" int GetVEQDispatchFd(void) {
    return guardBoundary("GetVEQDispatchFd", -1, [&]() -> int {
        return platform::uiQueueDescriptor();
    });
}

extern "C" void DispatchVEQTasks(void) {
    guardBoundary("DispatchVEQTasks", [&] {
        checkHostCall("DispatchVEQTasks", NeedsRunningModule::No);
        runMainThreadTasks();
    });
}
