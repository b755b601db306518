#include "host/module_state.h"

#include "host/dispatcher.h"

namespace XLoop {

std::atomic<platform::UiQueueHandle> g_dispatcherWindow{nullptr};
RefPtr<Task> g_configFetchTask;
RefPtr<Task> g_configUpdateTask;
std::unique_ptr<WorkerThreadDispatcher> g_configWorkerDispatcher;

}  // namespace XLoop
