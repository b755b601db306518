// Process-wide state shared by the module's exports.
#pragma once

#include <atomic>

#include "platform/ui_queue.h"

namespace XLoop {

class Task;
class WorkerThreadDispatcher;

// The UI-thread queue; written on the UI thread, read by posting workers.
extern std::atomic<platform::UiQueueHandle> g_dispatcherWindow;

// Background configuration work, released by ShutDownVEQ. UI thread only.
extern Task* g_configFetchTask;
extern Task* g_configUpdateTask;
extern WorkerThreadDispatcher* g_configWorkerDispatcher;

}  // namespace XLoop
