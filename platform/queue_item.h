// What the module's queues carry: opaque items, and what the queue's owner
// does with one. The queues know nothing of tasks, so the task classes keep
// their own layout and live above the platform seam.
#pragma once

namespace XLoop::platform {

struct QueueItemHandler {
    // For every item the queue takes, on the queue's thread.
    void (*run)(void* item);
    // For every item the queue will never run: posts it refused, and items
    // still pending when it goes away.
    void (*drop)(void* item);
};

}  // namespace XLoop::platform
