#include "config/configuration_work.h"

#include <memory>

#include "base/ui_thread.h"
#include "runtime/dispatcher.h"

namespace XLoop {
namespace {

RefPtr<Task> g_fetchTask;
RefPtr<Task> g_updateTask;
std::unique_ptr<WorkerThreadDispatcher> g_worker;

}  // namespace

void startConfigurationWork(RefPtr<Task> fetch, RefPtr<Task> update) {
    XLOOP_ASSERT_UI_THREAD();
    stopConfigurationWork();
    g_worker = createWorkerThreadDispatcher();
    g_fetchTask = std::move(fetch);
    g_updateTask = std::move(update);
    g_worker->post(g_fetchTask.get());
}

void stopConfigurationWork() {
    XLOOP_ASSERT_UI_THREAD();
    for (RefPtr<Task>* task : {&g_fetchTask, &g_updateTask}) {
        if (*task) (*task)->cancel();
        task->reset();
    }
    if (g_worker) g_worker->quitAndWait(std::chrono::seconds(2));
    g_worker.reset();
}

}  // namespace XLoop
