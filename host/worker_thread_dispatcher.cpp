#include "host/dispatcher.h"
#include "platform/worker_thread.h"

namespace XLoop {

WorkerThreadDispatcher* createWorkerThreadDispatcher() {
    return new WorkerThreadDispatcher(platform::startWorkerThread());
}

WorkerThreadDispatcher::~WorkerThreadDispatcher() {
    if (thread != nullptr) {
        platform::quitWorkerThread(thread);
        thread = nullptr;
    }
}

void WorkerThreadDispatcher::post(Task* task) {
    if (task == nullptr) return;
    if (thread == nullptr) return;
    if (task->isCancelled()) return;
    task->addRef();  // owned by the queued message
    if (!platform::postToWorkerThread(thread, task, this)) task->release();
}

}  // namespace XLoop
