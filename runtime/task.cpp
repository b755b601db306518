#include "runtime/task.h"

#include "runtime/boundary.h"
#include "runtime/dispatcher.h"

namespace XLoop {
namespace {

void runTaskItem(void* item) {
    static_cast<Task*>(item)->runFromQueue();
}

void dropTaskItem(void* item) {
    static_cast<Task*>(item)->dropFromQueue();
}

}  // namespace

const platform::QueueItemHandler kTaskQueueHandler{runTaskItem, dropTaskItem};

void RefCount::addRef() {
    refCount.fetch_add(1);
}

void RefCount::release() {
    if (refCount.fetch_sub(1) == 1) delete this;
}

void Task::cancel() {
    uint32_t expected = 0;
    cancelled.compare_exchange_strong(expected, 1);
    onCancel();
}

bool Task::isCancelled() const {
    return cancelled.load() == 1;
}

void Task::runFromQueue() {
    if (!isCancelled()) {
        // Queues run on the host's thread and on threads of our own: nothing
        // may unwind out of them.
        guardBoundary("a task", [this] {
            run();
            // The follow-up's own cancel flag is deliberately not consulted:
            // it belongs to the task that just ran.
            if (followUpTask) {
                followUpTask->run();
                followUpTask.reset();
            }
        });
    }
    release();  // the queue's reference
}

void Task::dropFromQueue() {
    if (!isCancelled()) guardBoundary("a dropped task", [this] { onDrop(); });
    release();  // the queue's reference
}

void MainThreadDispatcherReleaseTask::run() {
    endMainThreadDispatcherUnlessHeld();
}

}  // namespace XLoop
