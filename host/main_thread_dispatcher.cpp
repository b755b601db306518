#include "host/boundary.h"
#include "host/dispatcher.h"
#include "host/log.h"
#include "host/module_state.h"
#include "host/ui_thread.h"
#include "platform/ui_queue.h"
#include "xloop/xloop_client.h"

namespace XLoop {

void MainThreadDispatcher::post(Task* task) {
    if (task == nullptr || task->isCancelled()) return;
    platform::UiQueueHandle window = g_dispatcherWindow.load();
    task->addRef();  // owned by the queued message
    if (window == nullptr || !platform::postToUiQueue(window, task)) task->dropFromQueue();
}

void destroyMainThreadDispatcher() {
    XLOOP_ASSERT_UI_THREAD();
    platform::UiQueueHandle window = g_dispatcherWindow.load();
    if (window == nullptr) return;
    logDebug("Destroying main thread dispatcher");
    platform::destroyUiQueue(window);
    g_dispatcherWindow.store(nullptr);
    logDebug("Main thread dispatcher destroyed now");
}

}  // namespace XLoop

extern "C" int GetVEQDispatchFd(void) {
    return XLoop::guardBoundary("GetVEQDispatchFd", -1, [&]() -> int {
        return XLoop::platform::uiQueueDescriptor();
    });
}

extern "C" void DispatchVEQTasks(void) {
    XLoop::guardBoundary("DispatchVEQTasks", [&] {
        XLOOP_ASSERT_UI_THREAD();
        XLoop::platform::UiQueueHandle window = XLoop::g_dispatcherWindow.load();
        if (window != nullptr) XLoop::platform::runPendingUiItems(window);
    });
}
