#include <atomic>

#include "base/ui_thread.h"
#include "platform/ui_queue.h"
#include "runtime/dispatcher.h"
#include "runtime/log.h"

namespace XLoop {
namespace {

// The UI-thread queue (a hidden window on Windows); written on the UI thread,
// read by posting workers.
std::atomic<platform::UiQueueHandle> g_dispatcherWindow{nullptr};

}  // namespace

void MainThreadDispatcher::post(Task* task) {
    if (task == nullptr || task->isCancelled()) return;
    platform::UiQueueHandle queue = g_dispatcherWindow.load();
    task->addRef();  // owned by the queued message
    if (queue == nullptr || !platform::postToUiQueue(queue, task)) task->dropFromQueue();
}

void createMainThreadDispatcher() {
    XLOOP_ASSERT_UI_THREAD();
    if (g_dispatcherWindow.load() == nullptr) g_dispatcherWindow.store(platform::createUiQueue(kTaskQueueHandler));
}

void destroyMainThreadDispatcher() {
    XLOOP_ASSERT_UI_THREAD();
    platform::UiQueueHandle queue = g_dispatcherWindow.load();
    if (queue == nullptr) return;
    logDebug("Destroying main thread dispatcher");
    platform::destroyUiQueue(queue);
    g_dispatcherWindow.store(nullptr);
    logDebug("Main thread dispatcher destroyed now");
}

bool mainThreadDispatcherExists() {
    return g_dispatcherWindow.load() != nullptr;
}

void runMainThreadTasks() {
    XLOOP_ASSERT_UI_THREAD();
    platform::UiQueueHandle queue = g_dispatcherWindow.load();
    if (queue != nullptr) platform::runPendingUiItems(queue);
}

}  // namespace XLoop
