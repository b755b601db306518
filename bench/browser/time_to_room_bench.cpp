// Time to the room in the real browser: from CreateBrowserClientWithConfig to
// the page's "initXLoopRoom" having run, with the module and the WebKitGTK
// browser library, next to a bare WebKit view that loads the same page from
// the same server and runs the same script when its load finishes.
//
// A third figure, the browser library's client on the room page with a
// handler that runs the same script when the load finishes, splits what the
// module adds from what the library adds.
//
// Each run starts alike on every side: a fresh shown window and a fresh view
// in a context that lives for the whole program (the library's own, and one
// made the same way for the bare view; the library-only runs share the
// library's), and it ends with the window destroyed
// and the main loop run until the view's web process is gone. A first run of
// each side, not timed, starts the context's network process.
//
// Every side reports launch_us, the time until the view's first load started
// (most of it is WebKit starting the view's web process, which varies by a
// tenth from run to run), and after_launch_us, the time from there to the
// room: where a side's own work shows. The module's runs also
// report where the reachability check stands: check_us is the time from the
// start until the check's answer asks for the room page (the client's
// creation, the worker's start, the HEAD request and the hop back to the UI
// thread), head_us the request alone on its worker.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench/browser/browser_bench_host.h"

namespace {

using xloop_bench::BrowserBenchHost;
using xloop_bench::Clock;

struct RoomRun {
    bool shown = false;
    double seconds = 0;
    double launchSeconds = 0;
    double checkSeconds = 0;
    double headSeconds = 0;
};

double secondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

RoomRun moduleRoom() {
    BrowserBenchHost& host = BrowserBenchHost::instance();
    host.forgetCheckTimes();
    GtkWidget* window = xloop_bench::newHostWindow();
    RoomRun run;
    const Clock::time_point start = Clock::now();
    BrowserClient* client = CreateBrowserClientWithConfig(window, host.configuration(), nullptr);
    WebKitWebView* view = client != nullptr ? xloop_bench::findWebView(window) : nullptr;
    if (view != nullptr) {
        xloop_bench::RoomReadyWatch watch(view);
        run.shown = xloop_bench::runUntil([&] { return watch.ready(); });
        run.seconds = secondsBetween(start, watch.readyAt());
        run.launchSeconds = secondsBetween(start, watch.firstLoadStartedAt());
        const BrowserBenchHost::CheckTimes check = host.checkTimes();
        run.checkSeconds = secondsBetween(start, check.roomLoadAsked);
        run.headSeconds = secondsBetween(check.checkStarted, check.checkAnswered);
    }
    // The library destroys the client with its widgets.
    gtk_widget_destroy(window);
    xloop_bench::settle();
    return run;
}

void runScriptWhenFinished(WebKitWebView* view, WebKitLoadEvent event, gpointer script) {
    if (event != WEBKIT_LOAD_FINISHED) return;
    webkit_web_view_evaluate_javascript(view, static_cast<const std::string*>(script)->c_str(), -1, nullptr,
                                        nullptr, nullptr, nullptr, nullptr);
}

RoomRun bareRoom(const std::string& script) {
    BrowserBenchHost& host = BrowserBenchHost::instance();
    GtkWidget* window = xloop_bench::newHostWindow();
    RoomRun run;
    const Clock::time_point start = Clock::now();
    GtkWidget* view = webkit_web_view_new_with_context(host.bareContext());
    gtk_container_add(GTK_CONTAINER(window), view);
    gtk_widget_show(view);
    g_signal_connect(view, "load-changed", G_CALLBACK(runScriptWhenFinished), const_cast<std::string*>(&script));
    {
        xloop_bench::RoomReadyWatch watch(WEBKIT_WEB_VIEW(view));
        webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), host.roomURL().c_str());
        run.shown = xloop_bench::runUntil([&] { return watch.ready(); });
        run.seconds = secondsBetween(start, watch.readyAt());
        run.launchSeconds = secondsBetween(start, watch.firstLoadStartedAt());
    }
    g_signal_handlers_disconnect_by_func(view, reinterpret_cast<gpointer>(runScriptWhenFinished),
                                         const_cast<std::string*>(&script));
    gtk_widget_destroy(window);
    xloop_bench::settle();
    return run;
}

// Per-run averages, in microseconds.
void report(benchmark::State& state, const char* name, double seconds) {
    state.counters[name] = benchmark::Counter(seconds * 1e6, benchmark::Counter::kAvgIterations);
}

// The browser library alone: what it adds to a bare view (its page bridge, its
// widgets), without the module and its first page.
class ScriptAtLoadFinish final : public VEQ::IPageLoadHandler {
public:
    ScriptAtLoadFinish(BrowserClient* client, const std::string& script) : client(client), script(script) {}
    void onLoadFinished(const char*) override { client->executeScript(script.c_str()); }
    void onLoadStarted(const char*) override {}
    void onLoadFailed(const char*) override {}

private:
    BrowserClient* client;
    const std::string& script;
};

RoomRun libraryRoom(const std::string& script) {
    BrowserBenchHost& host = BrowserBenchHost::instance();
    const std::string url = host.roomURL();
    GtkWidget* window = xloop_bench::newHostWindow();
    RoomRun run;
    const Clock::time_point start = Clock::now();
    BrowserInitData initData{url.c_str(), "", 125, 125, 125};
    BrowserClient* client = CreateBrowserClientWithInitData(window, nullptr, 17, &initData);
    WebKitWebView* view = client != nullptr ? xloop_bench::findWebView(window) : nullptr;
    if (view != nullptr) {
        client->setPageLoadHandler(std::make_shared<ScriptAtLoadFinish>(client, script));
        xloop_bench::RoomReadyWatch watch(view);
        run.shown = xloop_bench::runUntil([&] { return watch.ready(); });
        run.seconds = secondsBetween(start, watch.readyAt());
        run.launchSeconds = secondsBetween(start, watch.firstLoadStartedAt());
    }
    gtk_widget_destroy(window);
    xloop_bench::settle();
    return run;
}

// The launch, and the rest of the time to the room.
void reportLaunch(benchmark::State& state, double launchSeconds, double seconds) {
    report(state, "launch_us", launchSeconds);
    report(state, "after_launch_us", seconds - launchSeconds);
}

bool hostReady(benchmark::State& state) {
    const std::string& error = BrowserBenchHost::instance().error();
    if (!error.empty()) state.SkipWithError(error.c_str());
    return error.empty();
}

void BM_TimeToRoomThroughTheModule(benchmark::State& state) {
    if (!hostReady(state)) return;
    static const bool warmedUp = moduleRoom().shown;
    double seconds = 0;
    double launchSeconds = 0;
    double checkSeconds = 0;
    double headSeconds = 0;
    for (auto _ : state) {
        const RoomRun run = warmedUp ? moduleRoom() : RoomRun{};
        if (!run.shown) {
            state.SkipWithError("the room page did not report its init");
            break;
        }
        state.SetIterationTime(run.seconds);
        seconds += run.seconds;
        launchSeconds += run.launchSeconds;
        checkSeconds += run.checkSeconds;
        headSeconds += run.headSeconds;
    }
    reportLaunch(state, launchSeconds, seconds);
    report(state, "check_us", checkSeconds);
    report(state, "head_us", headSeconds);
}
BENCHMARK(BM_TimeToRoomThroughTheModule)->UseManualTime()->Iterations(8)->Unit(benchmark::kMillisecond);

// Runs the room page with the script the module runs in it, taken from a
// module run, and no module.
void timeRoomWithoutModule(benchmark::State& state, RoomRun (*roomRun)(const std::string&), bool& warmedUp) {
    if (!hostReady(state)) return;
    if (BrowserBenchHost::instance().roomScript().empty()) moduleRoom();
    const std::string script = BrowserBenchHost::instance().roomScript();
    if (!warmedUp) warmedUp = roomRun(script).shown;
    double seconds = 0;
    double launchSeconds = 0;
    for (auto _ : state) {
        const RoomRun run = warmedUp ? roomRun(script) : RoomRun{};
        if (!run.shown) {
            state.SkipWithError("the page did not report its init");
            break;
        }
        state.SetIterationTime(run.seconds);
        seconds += run.seconds;
        launchSeconds += run.launchSeconds;
    }
    reportLaunch(state, launchSeconds, seconds);
}

void BM_BareWebKitViewToInitScript(benchmark::State& state) {
    static bool warmedUp = false;
    timeRoomWithoutModule(state, bareRoom, warmedUp);
}
BENCHMARK(BM_BareWebKitViewToInitScript)->UseManualTime()->Iterations(8)->Unit(benchmark::kMillisecond);

void BM_LibraryClientToInitScript(benchmark::State& state) {
    static bool warmedUp = false;
    timeRoomWithoutModule(state, libraryRoom, warmedUp);
}
BENCHMARK(BM_LibraryClientToInitScript)->UseManualTime()->Iterations(8)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    BrowserBenchHost::shutDownIfStarted();
    return 0;
}
