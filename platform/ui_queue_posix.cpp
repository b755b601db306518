#include "platform/ui_queue.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>
#include <deque>
#include <mutex>

#include "host/task.h"

namespace XLoop::platform {

struct UiQueue {
    int wakeDescriptor;  // eventfd: readable while tasks are pending
    std::deque<Task*> pending;
};

namespace {

// Workers may hold a stale handle while the UI thread destroys the queue, so
// every access checks the handle against the live queue under this lock and
// never dereferences a stale one.
std::mutex g_queueLock;
UiQueue* g_liveQueue = nullptr;

void signal(int descriptor) {
    uint64_t one = 1;
    // Cannot fail short of overflowing the counter, which a read resets.
    (void)!write(descriptor, &one, sizeof one);
}

void clearSignal(int descriptor) {
    uint64_t count;
    (void)!read(descriptor, &count, sizeof count);
}

Task* takeNextTask(UiQueueHandle queue) {
    std::lock_guard<std::mutex> lock(g_queueLock);
    if (queue != g_liveQueue || queue->pending.empty()) return nullptr;
    Task* task = queue->pending.front();
    queue->pending.pop_front();
    return task;
}

}  // namespace

UiQueueHandle createUiQueue() {
    int descriptor = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (descriptor < 0) return nullptr;
    std::lock_guard<std::mutex> lock(g_queueLock);
    g_liveQueue = new UiQueue{descriptor, {}};
    return g_liveQueue;
}

bool postToUiQueue(UiQueueHandle queue, Task* task, IDispatcher*) {
    std::lock_guard<std::mutex> lock(g_queueLock);
    if (queue != g_liveQueue) return false;
    queue->pending.push_back(task);
    signal(queue->wakeDescriptor);
    return true;
}

void destroyUiQueue(UiQueueHandle queue) {
    std::deque<Task*> dropped;
    {
        std::lock_guard<std::mutex> lock(g_queueLock);
        if (queue != g_liveQueue) return;
        g_liveQueue = nullptr;
        dropped.swap(queue->pending);
    }
    for (Task* task : dropped) task->release();
    close(queue->wakeDescriptor);
    delete queue;
}

int uiQueueDescriptor(UiQueueHandle queue) {
    std::lock_guard<std::mutex> lock(g_queueLock);
    return queue != nullptr && queue == g_liveQueue ? queue->wakeDescriptor : -1;
}

void runPendingUiTasks(UiQueueHandle queue) {
    {
        std::lock_guard<std::mutex> lock(g_queueLock);
        if (queue != g_liveQueue) return;
        clearSignal(queue->wakeDescriptor);
    }
    // One task at a time: a task may post more, or destroy the queue.
    while (Task* task = takeNextTask(queue)) task->runFromQueue();
}

}  // namespace XLoop::platform
