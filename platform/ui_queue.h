// The UI thread's queue: a hidden message-only window on Windows, an
// eventfd-signalled queue elsewhere.
#pragma once

#include "platform/queue_item.h"

namespace XLoop::platform {

// Like a window handle, a stale handle is safe to post to: the post fails.
struct UiQueue;
using UiQueueHandle = UiQueue*;

// Creates the queue for the calling thread; null on failure.
UiQueueHandle createUiQueue(QueueItemHandler handler);

// Queues an item from any thread; false when the queue is gone or refused it
// (the caller still owns the item).
bool postToUiQueue(UiQueueHandle queue, void* item);

// Drops every pending item without running it, then destroys the queue. UI
// thread only.
void destroyUiQueue(UiQueueHandle queue);

// Readable while items are pending. One descriptor for the module's whole
// life, made with the first queue and kept when a queue is destroyed and made
// again; -1 before the first queue, and where the host's message loop runs
// the items (Windows).
int uiQueueDescriptor();

// Runs every pending item on the calling thread, stopping early if an item
// destroys the queue.
void runPendingUiItems(UiQueueHandle queue);

}  // namespace XLoop::platform
