#include "runtime/dispatcher.h"

namespace XLoop {

std::unique_ptr<WorkerThreadDispatcher> createWorkerThreadDispatcher() {
    return std::make_unique<WorkerThreadDispatcher>(platform::startWorkerThread(kTaskQueueHandler));
}

WorkerThreadDispatcher::~WorkerThreadDispatcher() {
    if (thread != nullptr) {
        platform::quitWorkerThread(thread);
        thread = nullptr;
    }
}

void WorkerThreadDispatcher::quitAndWait(std::chrono::milliseconds limit) {
    if (thread == nullptr) return;
    platform::quitWorkerThread(thread, static_cast<unsigned>(limit.count()));
    thread = nullptr;
}

void WorkerThreadDispatcher::post(Task* task) {
    if (task == nullptr || task->isCancelled()) return;
    task->addRef();  // owned by the queued message
    if (thread == nullptr || !platform::postToWorkerThread(thread, task)) task->dropFromQueue();
}

}  // namespace XLoop
