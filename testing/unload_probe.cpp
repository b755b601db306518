// A module built from the same core as XLoopConfigureClient with a few
// exports of its own, so a test can keep a worker thread busy inside module
// code while the host unloads the module, and use the UI-thread queue of a
// module it loads, unloads and loads again.
#include <atomic>
#include <chrono>
#include <thread>

#include "runtime/dispatcher.h"
#include "xloop/xloop_client.h"

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

class CountingTask : public XLoop::Task {
public:
    explicit CountingTask(std::atomic<int>* runs) : runs(runs) {}
    void run() override { runs->fetch_add(1); }

private:
    std::atomic<int>* runs;
};

}  // namespace

// Starts a worker that sleeps, then sets *finished from module code and goes
// on running module code until its thread ends.
PROBE_API void StartBusyWorker(int milliseconds, std::atomic<int>* finished) {
    auto task = XLoop::makeRef<SleepTask>(milliseconds, finished);
    XLoop::createWorkerThreadDispatcher()->post(task.get());
}

PROBE_API void ProbeInitialize() {
    InitializeVEQ(nullptr);
}

PROBE_API void ProbeShutDown() {
    ShutDownVEQ();
}

// Posts a task to the UI-thread queue that counts its runs in *runs.
PROBE_API void ProbePostUiTask(std::atomic<int>* runs) {
    XLoop::MainThreadDispatcher().post(XLoop::makeRef<CountingTask>(runs).get());
}

PROBE_API void ProbeRunUiTasks() {
    DispatchVEQTasks();
}
