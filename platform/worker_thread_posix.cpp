#include "platform/worker_thread.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace XLoop::platform {
namespace {

// Shared by the dispatcher's handle and the thread, so that whichever lets go
// last frees it.
struct MessageQueue {
    struct Message {
        bool quit;
        void* item;
    };

    explicit MessageQueue(QueueItemHandler handler) : handler(handler) {}

    void push(Message message) {
        std::lock_guard<std::mutex> lock(mutex);
        messages.push_back(message);
        messageArrived.notify_one();
    }

    Message take() {
        std::unique_lock<std::mutex> lock(mutex);
        messageArrived.wait(lock, [this] { return !messages.empty(); });
        Message message = messages.front();
        messages.pop_front();
        return message;
    }

    void markEnded() {
        std::lock_guard<std::mutex> lock(mutex);
        ended = true;
        endedSignal.notify_all();
    }

    void waitUntilEnded(unsigned milliseconds) {
        std::unique_lock<std::mutex> lock(mutex);
        endedSignal.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return ended; });
    }

    const QueueItemHandler handler;
    std::mutex mutex;
    std::condition_variable messageArrived;
    std::deque<Message> messages;
    std::condition_variable endedSignal;
    bool ended = false;
};

void runWorkerLoop(std::shared_ptr<MessageQueue> queue) {
    for (;;) {
        MessageQueue::Message message = queue->take();
        if (message.quit) break;
        queue->handler.run(message.item);
    }
    queue->markEnded();
}

}  // namespace

struct WorkerThread {
    std::shared_ptr<MessageQueue> queue;
};

WorkerThread* startWorkerThread(QueueItemHandler handler) {
    auto worker = std::make_unique<WorkerThread>(WorkerThread{std::make_shared<MessageQueue>(handler)});
    try {
        // The queue exists before the thread starts, so posting is safe at once.
        std::thread(runWorkerLoop, worker->queue).detach();
    } catch (const std::system_error&) {
        return nullptr;
    }
    return worker.release();
}

bool postToWorkerThread(WorkerThread* thread, void* item) {
    thread->queue->push({false, item});
    return true;
}

// Nothing can be posted behind the quit message: the handle goes with it.
void quitWorkerThread(WorkerThread* thread, unsigned waitMilliseconds) {
    thread->queue->push({true, nullptr});
    if (waitMilliseconds > 0) thread->queue->waitUntilEnded(waitMilliseconds);
    delete thread;
}

}  // namespace XLoop::platform
