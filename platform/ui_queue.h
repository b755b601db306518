// The UI thread's task queue: a hidden message-only window on Windows, an
// eventfd-signalled queue elsewhere.
#pragma once

namespace XLoop {
class Task;
class IDispatcher;
}

namespace XLoop::platform {

// Like a window handle, a stale handle is safe to post to: the post fails.
struct UiQueue;
using UiQueueHandle = UiQueue*;

// Creates the queue for the calling thread; null on failure.
UiQueueHandle createUiQueue();

// Queues a task message from any thread; false when the queue is gone or
// refused it (the caller still owns the reference).
bool postToUiQueue(UiQueueHandle queue, Task* task, IDispatcher* poster);

// Removes every pending message, releasing its task without running it, then
// destroys the queue. UI thread only.
void destroyUiQueue(UiQueueHandle queue);

// Readable while tasks are pending; -1 where the host's message loop runs the
// tasks (Windows) or the queue is gone.
int uiQueueDescriptor(UiQueueHandle queue);

// Runs every pending task on the calling thread, stopping early if a task
// destroys the queue.
void runPendingUiTasks(UiQueueHandle queue);

}  // namespace XLoop::platform
