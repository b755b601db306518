#include "bench/browser/browser_bench_host.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>

#include <glib-unix.h>

#include "xloop/veqpod_extras.h"
#include "testing/http_test_server.h"

namespace xloop_bench {
namespace {

namespace fs = std::filesystem;

// The room page: it reads the payload as a room page does, then says so in
// its title. It has no other work, so that the figures are the path's own.
const char kRoomPage[] = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>waiting for the host</title>
<script>
function initXLoopRoom(escaped) {
  const payload = JSON.parse(decodeURIComponent(escaped));
  const preferences = JSON.parse(decodeURIComponent(payload.preferences));
  if (payload.product && preferences) document.title = "room ready";
}
</script>
</head>
<body><p>The room</p></body>
</html>
)";

const char kOfflinePage[] = "<!DOCTYPE html><title>offline</title><p>offline</p>";

// Far beyond any room load; reached only by a hung run.
constexpr gint64 kDeadlineMicroseconds = 30 * G_USEC_PER_SEC;
constexpr guint kWakeMilliseconds = 50;
// Long enough for a destroyed view's web process to have ended.
constexpr guint kSettleMilliseconds = 500;
constexpr int kWindowWidth = 1024;
constexpr int kWindowHeight = 768;

std::mutex checkTimesMutex;
BrowserBenchHost::CheckTimes lastCheckTimes;

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// The module may log from its worker threads.
void noteModuleLine(const char* line) {
    const Clock::time_point now = Clock::now();
    const std::string text = line;
    std::lock_guard<std::mutex> lock(checkTimesMutex);
    if (text.find("Checking if URL") != std::string::npos) {
        lastCheckTimes.checkStarted = now;
    } else if (text.find("accessibility result") != std::string::npos) {
        lastCheckTimes.checkAnswered = now;
    } else if (text.find(" is accessible") != std::string::npos) {
        lastCheckTimes.roomLoadAsked = now;
    }
}

gboolean runModuleTasks(gint, GIOCondition, gpointer) {
    DispatchVEQTasks();
    return G_SOURCE_CONTINUE;
}

gboolean keepWaking(gpointer) {
    return G_SOURCE_CONTINUE;
}

gboolean markDone(gpointer done) {
    *static_cast<bool*>(done) = true;
    return G_SOURCE_REMOVE;
}

void keepRoomScript(void* context, BrowserClient*, const char* pageURI, const char* script) {
    if (std::string(pageURI).find("veqtemplate") == std::string::npos) return;
    *static_cast<std::string*>(context) = script;
}

void findInChild(GtkWidget* child, gpointer found) {
    auto** view = static_cast<WebKitWebView**>(found);
    if (*view == nullptr) *view = findWebView(child);
}

xloop_test::HttpTestServer& server() {
    static xloop_test::HttpTestServer instance;
    return instance;
}

fs::path& benchFolder() {
    static fs::path folder;
    return folder;
}

BrowserBenchHost* startedHost = nullptr;

}  // namespace

BrowserBenchHost& BrowserBenchHost::instance() {
    static BrowserBenchHost host;
    startedHost = &host;
    return host;
}

void BrowserBenchHost::shutDownIfStarted() {
    if (startedHost != nullptr) startedHost->shutDown();
}

BrowserBenchHost::BrowserBenchHost() {
    start();
}

void BrowserBenchHost::start() {
    if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
        failure = "no display: run under xvfb-run";
        return;
    }
    xloop_test::HttpRoute room;
    room.body = kRoomPage;
    room.headers = {{"Content-Type", "text/html; charset=utf-8"}};
    server().setRoute("/veqtemplate/room.html", room);

    char folderTemplate[] = "/tmp/xloop-browser-bench-XXXXXX";
    if (mkdtemp(folderTemplate) == nullptr) {
        failure = "cannot make a temporary folder";
        return;
    }
    benchFolder() = folderTemplate;
    const fs::path shipped = benchFolder() / "VEQConfig.xml";
    writeFile(shipped, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<veqconfig>\n  <defaults killswitch=\"off\" url=\"" +
                           server().url("/veqtemplate/room.html") + "\" serverurl=\"\"/>\n</veqconfig>\n");
    const fs::path offline = benchFolder() / "xLoop_Offline.html";
    writeFile(offline, kOfflinePage);
    fs::create_directory(benchFolder() / "user");

    SetVEQLogSink(noteModuleLine);
    if (InitializeVEQ(nullptr) != 1) {
        failure = "InitializeVEQ failed";
        return;
    }
    taskSource = g_unix_fd_add(GetVEQDispatchFd(), G_IO_IN, runModuleTasks, nullptr);
    // No configuration URL: no server fetch competes with the runs.
    config = GetVEQConfiguration(shipped.c_str(), "", "XLoopBench", "17.0", "en_US",
                                 (benchFolder() / "user").c_str(), "bench", "retail", offline.c_str(), false, false);
    if (config == nullptr || config->killSwitch) {
        failure = "the room is not switched on";
        return;
    }
    VEQPodObserver observer{keepRoomScript, nullptr, &script};
    VEQPodSetObserver(&observer);
    context = webkit_web_context_new_ephemeral();
}

std::string BrowserBenchHost::roomURL() const {
    return config != nullptr && config->url != nullptr ? config->url : "";
}

BrowserBenchHost::CheckTimes BrowserBenchHost::checkTimes() const {
    std::lock_guard<std::mutex> lock(checkTimesMutex);
    return lastCheckTimes;
}

void BrowserBenchHost::forgetCheckTimes() {
    std::lock_guard<std::mutex> lock(checkTimesMutex);
    lastCheckTimes = CheckTimes{};
}

void BrowserBenchHost::shutDown() {
    if (failure.empty()) {
        VEQPodSetObserver(nullptr);
        ShutDownVEQ();
        g_source_remove(taskSource);
        FreeVEQConfiguration(config);
        g_object_unref(context);
        settle();
    }
    SetVEQLogSink(nullptr);
    if (!benchFolder().empty()) fs::remove_all(benchFolder());
}

GtkWidget* newHostWindow() {
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_default_size(GTK_WINDOW(window), kWindowWidth, kWindowHeight);
    gtk_widget_show(window);
    return window;
}

WebKitWebView* findWebView(GtkWidget* widget) {
    if (WEBKIT_IS_WEB_VIEW(widget)) return WEBKIT_WEB_VIEW(widget);
    WebKitWebView* found = nullptr;
    if (GTK_IS_CONTAINER(widget)) gtk_container_forall(GTK_CONTAINER(widget), findInChild, &found);
    return found;
}

RoomReadyWatch::RoomReadyWatch(WebKitWebView* view) : view(WEBKIT_WEB_VIEW(g_object_ref(view))) {
    g_signal_connect(view, "notify::title", G_CALLBACK(onTitle), this);
    g_signal_connect(view, "load-changed", G_CALLBACK(onLoad), this);
}

RoomReadyWatch::~RoomReadyWatch() {
    g_signal_handlers_disconnect_by_data(view, this);
    g_object_unref(view);
}

void RoomReadyWatch::onTitle(GObject* view, GParamSpec*, gpointer self) {
    auto* watch = static_cast<RoomReadyWatch*>(self);
    const char* title = webkit_web_view_get_title(WEBKIT_WEB_VIEW(view));
    if (watch->isReady || title == nullptr || std::string(title) != kRoomReadyTitle) return;
    watch->when = Clock::now();
    watch->isReady = true;
}

void RoomReadyWatch::onLoad(WebKitWebView*, WebKitLoadEvent event, gpointer self) {
    auto* watch = static_cast<RoomReadyWatch*>(self);
    if (watch->loadStarted || event != WEBKIT_LOAD_STARTED) return;
    watch->firstLoadStart = Clock::now();
    watch->loadStarted = true;
}

bool runUntil(const std::function<bool()>& done) {
    const gint64 deadline = g_get_monotonic_time() + kDeadlineMicroseconds;
    const guint waker = g_timeout_add(kWakeMilliseconds, keepWaking, nullptr);
    while (!done() && g_get_monotonic_time() < deadline) g_main_context_iteration(nullptr, TRUE);
    g_source_remove(waker);
    return done();
}

void settle() {
    bool done = false;
    g_timeout_add(kSettleMilliseconds, markDone, &done);
    while (!done) g_main_context_iteration(nullptr, TRUE);
}

}  // namespace xloop_bench
