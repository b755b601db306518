// What the module adds to a reachability check: the time from posting a check
// task to its result task running on the UI-thread queue, next to a bare HEAD
// round trip by the same HTTP library against the same loopback server, and
// next to that bare HEAD made the way the design must make it: on a worker
// thread, its result handed to the UI thread through the module's queues.
#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <poll.h>

#include <atomic>
#include <memory>
#include <string>
#include <utility>

#include "runtime/dispatcher.h"
#include "runtime/url_access.h"
#include "testing/http_test_server.h"
#include "xloop/xloop_client.h"

namespace {

void discardLine(const char*) {}

xloop_test::HttpTestServer& server() {
    static xloop_test::HttpTestServer instance;
    static bool routed = false;
    if (!routed) {
        xloop_test::HttpRoute room;
        room.body = "<html>room</html>";
        instance.setRoute("/room", room);
        routed = true;
    }
    return instance;
}

long bareHead(const std::string& url) {
    CURL* request = curl_easy_init();
    curl_easy_setopt(request, CURLOPT_URL, url.c_str());
    curl_easy_setopt(request, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(request, CURLOPT_NOSIGNAL, 1L);
    long status = 0;
    if (curl_easy_perform(request) == CURLE_OK) curl_easy_getinfo(request, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_cleanup(request);
    return status;
}

void BM_BareHeadRoundTrip(benchmark::State& state) {
    const std::string url = server().url("/room");
    curl_global_init(CURL_GLOBAL_DEFAULT);
    for (auto _ : state) {
        if (bareHead(url) != 200) state.SkipWithError("HEAD failed");
    }
}
BENCHMARK(BM_BareHeadRoundTrip)->UseRealTime();

class FlagResultTask : public XLoop::URLAccessResultTask {
public:
    explicit FlagResultTask(std::atomic<bool>& done) : done(done) {}
    void run() override { done = accessible; }

private:
    std::atomic<bool>& done;
};

// Runs posted tasks on the UI-thread queue until done is set.
void dispatchUntil(const std::atomic<bool>& done) {
    while (!done) {
        pollfd wake{GetVEQDispatchFd(), POLLIN, 0};
        poll(&wake, 1, 1000);
        DispatchVEQTasks();
    }
}

// The same hops as a check task, with a bare HEAD in place of the check.
class BareHeadTask : public XLoop::Task {
public:
    BareHeadTask(std::string url, XLoop::RefPtr<FlagResultTask> result)
        : url(std::move(url)), result(std::move(result)) {}
    void run() override {
        result->accessible = bareHead(url) == 200;
        XLoop::MainThreadDispatcher().post(result.get());
    }

private:
    const std::string url;
    const XLoop::RefPtr<FlagResultTask> result;
};

template <class CheckTask>
void checkToResultOnUiThread(benchmark::State& state) {
    SetVEQLogSink(discardLine);
    InitializeVEQ(nullptr);
    std::unique_ptr<XLoop::WorkerThreadDispatcher> worker(XLoop::createWorkerThreadDispatcher());
    const std::string url = server().url("/room");
    for (auto _ : state) {
        std::atomic<bool> done{false};
        auto result = XLoop::makeRef<FlagResultTask>(done);
        worker->post(XLoop::makeRef<CheckTask>(url, std::move(result)).get());
        dispatchUntil(done);
    }
    worker.reset();
    XLoop::destroyMainThreadDispatcher();
    SetVEQLogSink(nullptr);
}

void BM_CheckTaskToResultOnUiThread(benchmark::State& state) {
    checkToResultOnUiThread<XLoop::URLAccessCheckTask>(state);
}
BENCHMARK(BM_CheckTaskToResultOnUiThread)->UseRealTime();

void BM_BareHeadOnWorkerToResultOnUiThread(benchmark::State& state) {
    checkToResultOnUiThread<BareHeadTask>(state);
}
BENCHMARK(BM_BareHeadOnWorkerToResultOnUiThread)->UseRealTime();

}  // namespace
