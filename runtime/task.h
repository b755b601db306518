// Reference-counted, cancellable units of work that travel between threads.
#pragma once

#include <atomic>
#include <cstdint>

#include "base/ref_ptr.h"
#include "platform/queue_item.h"

namespace XLoop {

// Intrusive reference count shared between threads. Objects start with one
// reference, owned by their creator; the last release deletes the object on
// whichever thread makes it.
class RefCount {
public:
    RefCount() = default;
    RefCount(const RefCount&) = delete;
    RefCount& operator=(const RefCount&) = delete;
    virtual ~RefCount() = default;

    void addRef();
    void release();

private:
    std::atomic<uint32_t> refCount{1};
};

// A unit of work run on a dispatcher's thread. An owner stops a task with
// cancel() and then releases its reference; a cancelled task is neither
// posted nor run.
class Task : public RefCount {
public:
    // followUpTask runs on the same thread right after this task's run().
    explicit Task(RefPtr<Task> followUpTask = nullptr) : followUpTask(std::move(followUpTask)) {}

    virtual void run() = 0;
    // Called by every cancel(), even on an already cancelled task, so that a
    // task blocked in run() can wake itself.
    virtual void onCancel() {}
    // Called when a dispatcher gives the task up without running it: its
    // post refused, or its queue gone with the task still in it. Never for a
    // cancelled task; on any thread, even one tearing a queue down.
    virtual void onDrop() {}

    void cancel();
    bool isCancelled() const;

    // What a queue does with a task it takes: runs the task (unless
    // cancelled) and its follow-up, then drops the queue's reference.
    void runFromQueue();
    // What a dispatcher does with a task it will never run: tells it
    // (onDrop) unless cancelled, then drops the queue's reference.
    void dropFromQueue();

private:
    std::atomic<uint32_t> cancelled{0};
    RefPtr<Task> followUpTask;
};

// How the module's queues run the tasks they carry, and drop those they
// never run.
extern const platform::QueueItemHandler kTaskQueueHandler;

// Ends the main-thread dispatcher when run, unless a room browser holds it,
// e.g. as the follow-up of a task that must run before the UI-thread queue
// goes away.
class MainThreadDispatcherReleaseTask : public Task {
public:
    void run() override;
};

}  // namespace XLoop
