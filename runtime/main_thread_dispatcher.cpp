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

// The run of the module the holds belong to (UI thread only): numbered, so
// that a hold of an earlier run never ends a later run's queue.
struct QueueRun {
    uint64_t number = 0;
    bool open = false;
    int holds = 0;
};
QueueRun g_run;

void createQueue() {
    if (g_dispatcherWindow.load() == nullptr) g_dispatcherWindow.store(platform::createUiQueue(kTaskQueueHandler));
}

void endQueue() {
    platform::UiQueueHandle queue = g_dispatcherWindow.load();
    if (queue == nullptr) return;
    logDebug("Destroying main thread dispatcher");
    platform::destroyUiQueue(queue);
    g_dispatcherWindow.store(nullptr);
    logDebug("Main thread dispatcher destroyed now");
}

}  // namespace

void MainThreadDispatcher::post(Task* task) {
    if (task == nullptr || task->isCancelled()) return;
    platform::UiQueueHandle queue = g_dispatcherWindow.load();
    task->addRef();  // owned by the queued message
    if (queue == nullptr || !platform::postToUiQueue(queue, task)) task->dropFromQueue();
}

void createMainThreadDispatcher() {
    XLOOP_ASSERT_UI_THREAD();
    if (!g_run.open) g_run = QueueRun{g_run.number + 1, true, 0};
    createQueue();
}

void destroyMainThreadDispatcher() {
    XLOOP_ASSERT_UI_THREAD();
    g_run.open = false;
    g_run.holds = 0;
    endQueue();
}

void endMainThreadDispatcherUnlessHeld() {
    XLOOP_ASSERT_UI_THREAD();
    if (g_run.holds > 0) {
        logDebug("Main thread dispatcher kept for %d room browsers", g_run.holds);
        return;
    }
    endQueue();
}

MainThreadDispatcherHold MainThreadDispatcherHold::take() {
    XLOOP_ASSERT_UI_THREAD();
    MainThreadDispatcherHold hold;
    if (!g_run.open) return hold;
    hold.run = g_run.number;
    ++g_run.holds;
    createQueue();
    return hold;
}

void MainThreadDispatcherHold::release() {
    XLOOP_ASSERT_UI_THREAD();
    const bool current = run != 0 && g_run.open && run == g_run.number;
    run = 0;
    if (current && --g_run.holds == 0) endQueue();
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
