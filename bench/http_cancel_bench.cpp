// How soon an HTTP exchange returns once it is cancelled in the middle of a
// transfer: the time from cancel() to the worker having the answer.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <thread>
#include <vector>

#include "platform/http_client.h"
#include "testing/http_test_server.h"

namespace {

using Clock = std::chrono::steady_clock;

void BM_CancelToReturnDuringBody(benchmark::State& state) {
    xloop_test::HttpTestServer server;
    xloop_test::HttpRoute slow;
    slow.body = std::string(1000, 'x');
    slow.dripMilliseconds = 20;
    server.setRoute("/slow", slow);
    std::vector<double> microseconds;

    for (auto _ : state) {
        XLoop::platform::HttpCancellation cancellation;
        const int before = server.requestCount();
        auto exchange = std::async(std::launch::async, [&] {
            XLoop::platform::exchangeHttp({server.url("/slow"), XLoop::platform::HttpVerb::Get, 1 << 20},
                                          cancellation);
            return Clock::now();
        });
        while (server.requestCount() == before) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::milliseconds(30));  // into the body
        const auto cancelled = Clock::now();
        cancellation.cancel();
        const auto returned = exchange.get();
        const double elapsed = std::chrono::duration<double, std::micro>(returned - cancelled).count();
        microseconds.push_back(elapsed);
        state.SetIterationTime(elapsed / 1e6);
    }
    std::sort(microseconds.begin(), microseconds.end());
    state.counters["median_us"] = microseconds[microseconds.size() / 2];
    state.counters["worst_us"] = microseconds.back();
}
BENCHMARK(BM_CancelToReturnDuringBody)->Iterations(100)->UseManualTime();

}  // namespace
