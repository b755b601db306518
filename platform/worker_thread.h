// A thread with a queue of its own.
#pragma once

#include "platform/queue_item.h"

namespace XLoop::platform {

struct WorkerThread;

// Starts the thread and returns once its queue takes posts; null when the
// thread cannot be started.
WorkerThread* startWorkerThread(QueueItemHandler handler);

// Queues an item; false when the thread refused it (the caller still owns
// the item).
bool postToWorkerThread(WorkerThread* thread, void* item);

// Tells the thread to run what is queued and end; what is queued after that
// is dropped. Waits up to waitMilliseconds for the thread to end (0: not at
// all). The handle is invalid afterwards; the thread frees what it owns on its
// own.
void quitWorkerThread(WorkerThread* thread, unsigned waitMilliseconds = 0);

}  // namespace XLoop::platform
