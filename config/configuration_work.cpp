#include "config/configuration_work.h"

#include <memory>

#include "base/ui_thread.h"
#include "runtime/dispatcher.h"

namespace XLoop {
namespace {

RefPtr<Task> g_configFetchTask;
RefPtr<Task> g_configUpdateTask;
std::unique_ptr<WorkerThreadDispatcher> g_configWorkerDispatcher;

}  // namespace

void startConfigurationWork(RefPtr<Task> fetch, RefPtr<Task> update) {
    XLOOP_ASSERT_UI_THREAD();
    stopConfigurationWork();
    g_configWorkerDispatcher = createWorkerThreadDispatcher();
    g_configFetchTask = std::move(fetch);
    g_configUpdateTask = std::move(update);
    g_configWorkerDispatcher->post(g_configFetchTask.get());
}

void stopConfigurationWork() {
    XLOOP_ASSERT_UI_THREAD();
    for (RefPtr<Task>* task : {&g_configFetchTask, &g_configUpdateTask}) {
        if (*task) (*task)->cancel();
        task->reset();
    }
    if (g_configWorkerDispatcher) g_configWorkerDispatcher->quitAndWait(std::chrono::seconds(2));
    g_configWorkerDispatcher.reset();
}

}  // namespace XLoop
