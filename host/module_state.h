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

// Cancels and releases the configuration tasks, then ends their worker,
// waiting the few milliseconds a cancelled fetch needs, so none of it runs on
// while the host goes on (or exits). A second call finds nothing to stop.
void stopConfigurationWork();

}  // namespace XLoop
