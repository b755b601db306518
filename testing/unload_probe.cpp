// A module built from the same core as XLoopConfigureClient with one extra
// export, so a test can keep a worker thread busy inside module code while
// the host unloads the module.
#include <atomic>
#include <chrono>
#include <thread>

#include "host/dispatcher.h"

#if defined(_WIN32)
#define PROBE_API extern "C" __declspec(dllexport)
#else
#define PROBE_API extern "C" __attribute__((visibility("default")))
#endif

namespace {

class SleepTask : public XLoop::Task {
public:
    SleepTask(int milliseconds, std::atomic<int>* finished)
        : milliseconds(milliseconds), finished(finished) {}
    ~SleepTask() override { finished->store(1); }
    void run() override { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

private:
    int milliseconds;
    std::atomic<int>* finished;
};

}  // namespace

// Starts a worker that sleeps, then sets *finished from module code and goes
// on running module code until its thread ends.
PROBE_API void StartBusyWorker(int milliseconds, std::atomic<int>* finished) {
    XLoop::WorkerThreadDispatcher* worker = XLoop::createWorkerThreadDispatcher();
    auto* task = new SleepTask(milliseconds, finished);
    worker->post(task);
    task->release();
    delete worker;
}
