#include "host/module_state.h"

namespace XLoop {

std::atomic<platform::UiQueueHandle> g_dispatcherWindow{nullptr};
Task* g_configFetchTask = nullptr;
Task* g_configUpdateTask = nullptr;
WorkerThreadDispatcher* g_configWorkerDispatcher = nullptr;

}  // namespace XLoop
