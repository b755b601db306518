#include "host/module_state.h"

#include "host/dispatcher.h"

namespace XLoop {

std::atomic<platform::UiQueueHandle> g_dispatcherWindow{nullptr};
RefPtr<Task> g_configFetchTask;
RefPtr<Task> g_configUpdateTask;
std::unique_ptr<WorkerThreadDispatcher> g_configWorkerDispatcher;

void stopConfigurationWork() {
    for (RefPtr<Task>* task : {&g_configFetchTask, &g_configUpdateTask}) {
        if (*task) (*task)->cancel();
        task->reset();
    }
    if (g_configWorkerDispatcher) g_configWorkerDispatcher->quitAndWait(std::chrono::seconds(2));
    g_configWorkerDispatcher.reset();
}

}  // namespace XLoop
