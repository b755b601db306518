#include "platform/ui_queue.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>
#include <deque>
#include <mutex>

namespace XLoop::platform {

struct UiQueue {
    QueueItemHandler handler;
    std::deque<void*> pending;
};

namespace {

// Workers may hold a stale handle while the UI thread destroys the queue, so
// every access checks the handle against the live queue under this lock and
// never dereferences a stale one.
std::mutex g_queueLock;
UiQueue* g_liveQueue = nullptr;
// Made with the first queue and never closed: a host registers it once in its
// event loop, however often the queue goes and comes back.
int g_wakeDescriptor = -1;

void signal() {
    uint64_t one = 1;
    // Cannot fail short of overflowing the counter, which a read resets.
    (void)!write(g_wakeDescriptor, &one, sizeof one);
}

void clearSignal() {
    uint64_t count;
    (void)!read(g_wakeDescriptor, &count, sizeof count);
}

// The next item and how to run it; false when there is none or the queue is gone.
bool takeNextItem(UiQueueHandle queue, void** item, QueueItemHandler* handler) {
    std::lock_guard<std::mutex> lock(g_queueLock);
    if (queue != g_liveQueue || queue->pending.empty()) return false;
    *item = queue->pending.front();
    *handler = queue->handler;
    queue->pending.pop_front();
    return true;
}

}  // namespace

UiQueueHandle createUiQueue(QueueItemHandler handler) {
    std::lock_guard<std::mutex> lock(g_queueLock);
    if (g_wakeDescriptor < 0) g_wakeDescriptor = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (g_wakeDescriptor < 0) return nullptr;
    g_liveQueue = new UiQueue{handler, {}};
    return g_liveQueue;
}

bool postToUiQueue(UiQueueHandle queue, void* item) {
    std::lock_guard<std::mutex> lock(g_queueLock);
    if (queue != g_liveQueue) return false;
    queue->pending.push_back(item);
    signal();
    return true;
}

void destroyUiQueue(UiQueueHandle queue) {
    std::deque<void*> dropped;
    {
        std::lock_guard<std::mutex> lock(g_queueLock);
        if (queue != g_liveQueue) return;
        g_liveQueue = nullptr;
        dropped.swap(queue->pending);
        clearSignal();
    }
    for (void* item : dropped) queue->handler.drop(item);
    delete queue;
}

int uiQueueDescriptor() {
    std::lock_guard<std::mutex> lock(g_queueLock);
    return g_wakeDescriptor;
}

void runPendingUiItems(UiQueueHandle queue) {
    {
        std::lock_guard<std::mutex> lock(g_queueLock);
        if (queue != g_liveQueue) return;
        clearSignal();
    }
    // One item at a time: an item may post more, or destroy the queue.
    void* item;
    QueueItemHandler handler;
    while (takeNextItem(queue, &item, &handler)) handler.run(item);
}

}  // namespace XLoop::platform
