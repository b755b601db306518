// Process-wide state shared by the module's exports.
#pragma once

#include <atomic>
#include <memory>

#include "host/ref_ptr.h"
#include "host/task.h"
#include "platform/ui_queue.h"

namespace XLoop {

class WorkerThreadDispatcher;

// The UI-thread queue; written on the UI thread, read by posting workers.
extern std::atomic<platform::UiQueueHandle> g_dispatcherWindow;

// Background configuration work, stopped by ShutDownVEQ. UI thread only.
extern RefPtr<Task> g_configFetchTask;
extern RefPtr<Task> g_configUpdateTask;
extern std::unique_ptr<WorkerThreadDispatcher> g_configWorkerDispatcher;

}  // namespace XLoop
