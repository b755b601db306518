// A thread with a task queue of its own.
#pragma once

namespace XLoop {
class Task;
class IDispatcher;
}

namespace XLoop::platform {

struct WorkerThread;

// Starts the thread and returns once its queue takes posts; null when the
// thread cannot be started.
WorkerThread* startWorkerThread();

// Queues a task message; false when the thread refused it (the caller still
// owns the reference). The poster travels with the message but is not read.
bool postToWorkerThread(WorkerThread* thread, Task* task, IDispatcher* poster);

// Tells the thread to run what is queued and end. The handle is invalid
// afterwards; the thread frees what it owns on its own.
void quitWorkerThread(WorkerThread* thread);

}  // namespace XLoop::platform
