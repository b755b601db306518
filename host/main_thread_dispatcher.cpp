#include "host/dispatcher.h"
#include "host/log.h"
#include "host/module_state.h"
#include "platform/ui_queue.h"
#include "xloop/xloop_client.h"

namespace XLoop {

void MainThreadDispatcher::post(Task* task) {
    if (task == nullptr) return;
    platform::UiQueueHandle window = g_dispatcherWindow.load();
    if (window == nullptr) return;
    if (task->isCancelled()) return;
    task->addRef();  // owned by the queued message
    if (!platform::postToUiQueue(window, task, this)) task->release();
}

void destroyMainThreadDispatcher() {
    platform::UiQueueHandle window = g_dispatcherWindow.load();
    if (window == nullptr) return;
    logDebug("Destroying main thread dispatcher");
    platform::destroyUiQueue(window);
    g_dispatcherWindow.store(nullptr);
    logDebug("Main thread dispatcher destroyed now");
}

}  // namespace XLoop

extern "C" int GetVEQDispatchFd(void) {
    return XLoop::platform::uiQueueDescriptor(XLoop::g_dispatcherWindow.load());
}

extern "C" void DispatchVEQTasks(void) {
    XLoop::platform::UiQueueHandle window = XLoop::g_dispatcherWindow.load();
    if (window != nullptr) XLoop::platform::runPendingUiTasks(window);
}
