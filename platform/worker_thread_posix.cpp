#include "platform/worker_thread.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "host/task.h"

namespace XLoop::platform {
namespace {

// Shared by the dispatcher's handle and the thread, so that whichever lets go
// last frees it. A null entry is the quit message.
struct MessageQueue {
    std::mutex mutex;
    std::condition_variable messageArrived;
    std::deque<Task*> messages;

    void push(Task* message) {
        std::lock_guard<std::mutex> lock(mutex);
        messages.push_back(message);
        messageArrived.notify_one();
    }

    Task* take() {
        std::unique_lock<std::mutex> lock(mutex);
        messageArrived.wait(lock, [this] { return !messages.empty(); });
        Task* message = messages.front();
        messages.pop_front();
        return message;
    }
};

void runWorkerLoop(std::shared_ptr<MessageQueue> queue) {
    while (Task* task = queue->take()) task->runFromQueue();
}

}  // namespace

struct WorkerThread {
    std::shared_ptr<MessageQueue> queue = std::make_shared<MessageQueue>();
};

WorkerThread* startWorkerThread() {
    auto worker = std::make_unique<WorkerThread>();
    try {
        // The queue exists before the thread starts, so posting is safe at once.
        std::thread(runWorkerLoop, worker->queue).detach();
    } catch (const std::system_error&) {
        return nullptr;
    }
    return worker.release();
}

bool postToWorkerThread(WorkerThread* thread, Task* task, IDispatcher*) {
    thread->queue->push(task);
    return true;
}

void quitWorkerThread(WorkerThread* thread) {
    thread->queue->push(nullptr);
    delete thread;
}

}  // namespace XLoop::platform
