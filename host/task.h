// Reference-counted, cancellable units of work that travel between threads.
#pragma once

#include <atomic>
#include <cstdint>

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
// cancel() and then release(); a cancelled task is neither posted nor run.
class Task : public RefCount {
public:
    // Takes over one reference to followUpTask, which runs on the same thread
    // right after this task's run().
    explicit Task(Task* followUpTask = nullptr) : followUpTask(followUpTask) {}
    ~Task() override;

    virtual void run() = 0;
    // Called by every cancel(), even on an already cancelled task, so that a
    // task blocked in run() can wake itself.
    virtual void onCancel() {}

    void cancel();
    bool isCancelled() const;

    // What a queue does with a task message it takes: runs the task (unless
    // cancelled) and its follow-up, then drops the message's reference.
    void runFromQueue();

private:
    std::atomic<uint32_t> cancelled{0};
    Task* followUpTask;
};

// Ends the main-thread dispatcher when run, e.g. as the follow-up of a task
// that must run before the UI-thread queue goes away.
class MainThreadDispatcherReleaseTask : public Task {
public:
    void run() override;
};

}  // namespace XLoop
