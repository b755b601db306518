// What the module adds to a reachability check: the time from posting a check
// task to its result task running on the UI-thread queue, next to a bare HEAD
// round trip by the same HTTP library against the same loopback server.
#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <poll.h>

#include <atomic>
#include <memory>

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

void BM_BareHeadRoundTrip(benchmark::State& state) {
    const std::string url = server().url("/room");
    curl_global_init(CURL_GLOBAL_DEFAULT);
    for (auto _ : state) {
        CURL* request = curl_easy_init();
        curl_easy_setopt(request, CURLOPT_URL, url.c_str());
        curl_easy_setopt(request, CURLOPT_NOBODY, 1L);
        curl_easy_setopt(request, CURLOPT_NOSIGNAL, 1L);
        long status = 0;
        if (curl_easy_perform(request) == CURLE_OK)
            curl_easy_getinfo(request, CURLINFO_RESPONSE_CODE, &status);
        curl_easy_cleanup(request);
        if (status != 200) state.SkipWithError("HEAD failed");
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

void BM_CheckTaskToResultOnUiThread(benchmark::State& state) {
    SetVEQLogSink(discardLine);
    InitializeVEQ(nullptr);
    std::unique_ptr<XLoop::WorkerThreadDispatcher> worker(XLoop::createWorkerThreadDispatcher());
    const std::string url = server().url("/room");
    for (auto _ : state) {
        std::atomic<bool> done{false};
        auto result = XLoop::makeRef<FlagResultTask>(done);
        worker->post(XLoop::makeRef<XLoop::URLAccessCheckTask>(url, std::move(result)).get());
        while (!done) {
            pollfd wake{GetVEQDispatchFd(), POLLIN, 0};
            poll(&wake, 1, 1000);
            DispatchVEQTasks();
        }
    }
    worker.reset();
    XLoop::destroyMainThreadDispatcher();
    SetVEQLogSink(nullptr);
}
BENCHMARK(BM_CheckTaskToResultOnUiThread)->UseRealTime();

}  // namespace
