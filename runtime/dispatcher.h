// Dispatchers carry tasks to a thread: the host's UI thread or a worker.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>

#include "platform/worker_thread.h"
#include "runtime/task.h"

namespace XLoop {

class IDispatcher {
public:
    // Queues task for its thread with a reference of its own. Null and
    // cancelled tasks are ignored; a post to a thread that is gone is dropped
    // (the task's onDrop() hears of it).
    virtual void post(Task* task) = 0;
    virtual ~IDispatcher() = default;
};

// Posts to the UI thread's queue, made by createMainThreadDispatcher. Every
// instance is equivalent, so a poster may make one wherever it needs it;
// posting from worker threads is safe.
class MainThreadDispatcher final : public IDispatcher {
public:
    void post(Task* task) override;
};

// A thread with its own queue. Deleting the dispatcher tells the thread to
// quit without waiting for it: the thread still runs what was queued before.
class WorkerThreadDispatcher final : public IDispatcher {
public:
    explicit WorkerThreadDispatcher(platform::WorkerThread* thread) : thread(thread) {}
    WorkerThreadDispatcher(const WorkerThreadDispatcher&) = delete;
    WorkerThreadDispatcher& operator=(const WorkerThreadDispatcher&) = delete;
    ~WorkerThreadDispatcher() override;

    // Only from the thread that owns the dispatcher.
    void post(Task* task) override;

    // Ends the thread as deleting does, but waits up to the limit for it to
    // finish, so nothing of it runs on while its owner shuts down.
    void quitAndWait(std::chrono::milliseconds limit);

private:
    platform::WorkerThread* thread;  // null when no thread could be started
};

// Starts a worker thread and returns once posting to it is safe. Deleting the
// result ends the thread.
std::unique_ptr<WorkerThreadDispatcher> createWorkerThreadDispatcher();

// Makes the UI-thread queue unless there is one, and opens a run of the
// module: until destroyMainThreadDispatcher, a room browser's hold brings the
// queue back when it has ended. UI thread only.
void createMainThreadDispatcher();

// Tears the UI-thread queue down and closes the run: pending tasks are
// released without running, holds of the run lapse and no hold brings the
// queue back until createMainThreadDispatcher. UI thread only.
void destroyMainThreadDispatcher();

// Ends the UI-thread queue unless a room browser holds it; the run stays
// open. UI thread only.
void endMainThreadDispatcherUnlessHeld();

// A room browser's claim on the UI-thread queue: the queue lasts while any
// hold of the current run is held. Released only by release(), on the UI
// thread: the owner may be deleted on another thread.
class MainThreadDispatcherHold {
public:
    // Takes a hold, bringing the queue back if the run is open and the queue
    // has ended. UI thread only.
    static MainThreadDispatcherHold take();
    MainThreadDispatcherHold(MainThreadDispatcherHold&& other) noexcept : run(other.run) { other.run = 0; }
    MainThreadDispatcherHold(const MainThreadDispatcherHold&) = delete;
    MainThreadDispatcherHold& operator=(const MainThreadDispatcherHold&) = delete;

    // Gives the hold up once; the last hold of the run ends the queue. UI
    // thread only.
    void release();

private:
    MainThreadDispatcherHold() = default;

    uint64_t run = 0;  // 0: holds nothing
};

// Whether the UI-thread queue exists.
bool mainThreadDispatcherExists();

// Runs every task pending on the UI-thread queue. UI thread only.
void runMainThreadTasks();

}  // namespace XLoop
