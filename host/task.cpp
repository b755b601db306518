#include "host/task.h"

#include "host/dispatcher.h"

namespace XLoop {

void RefCount::addRef() {
    refCount.fetch_add(1);
}

void RefCount::release() {
    if (refCount.fetch_sub(1) == 1) delete this;
}

Task::~Task() {
    if (followUpTask != nullptr) followUpTask->release();
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
        run();
        // The follow-up's own cancel flag is deliberately not consulted: it
        // belongs to the task that just ran.
        if (followUpTask != nullptr) {
            followUpTask->run();
            followUpTask->release();
            followUpTask = nullptr;
        }
    }
    release();
}

void MainThreadDispatcherReleaseTask::run() {
    destroyMainThreadDispatcher();
}

}  // namespace XLoop
