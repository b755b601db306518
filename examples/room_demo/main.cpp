// The room demo: a GTK host that shows the room through the module's exports
// with the WebKitGTK browser library. With --screenshot PATH it saves the
// entered room as a PNG and exits; otherwise it runs until the window closes.
#include <gtk/gtk.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "examples/room_demo/configuration_record.h"
#include "examples/room_demo/room_pages.h"
#include "examples/room_demo/session_folder.h"
#include "examples/room_demo/veq_main_loop.h"
#include "pods/webkitgtk/veqpod_webkit.h"
#include "xloop/xloop_client.h"

namespace {

const char kRoomShown[] = "xloop-room-demo: room shown";
const char kRoomEntered[] = "xloop-room-demo: room entered";
// Far beyond a normal start; only a broken setup makes a headless run wait this long.
constexpr guint kHeadlessGiveUpSeconds = 120;

struct Demo {
    gint64 startMicroseconds = g_get_monotonic_time();
    std::string screenshotPath;  // empty: run until the window closes
    GMainLoop* loop = nullptr;
    BrowserClient* room = nullptr;
    bool roomShown = false;
    bool snapshotTaken = false;
    bool windowClosed = false;
    int exitCode = 0;
};

Demo demo;

double secondsSinceStart() {
    return static_cast<double>(g_get_monotonic_time() - demo.startMicroseconds) / G_USEC_PER_SEC;
}

void announce(const char* text) {
    std::printf("[%7.3f s] demo: %s\n", secondsSinceStart(), text);
    std::fflush(stdout);
}

void giveUpdatesToRoom() {
    const char* const refIds[] = {"upd-1701", "upd-1702", "upd-1703"};
    const char* const names[] = {"Colour profiles 17.0.1", "Brush pack Autumn", "Sync service 3.2"};
    const char* const descriptions[] = {"Fixes printing on wide-gamut displays.",
                                        "Forty new brushes, 100% hand-made.",
                                        "Faster uploads & smaller downloads."};
    SetUpdateInfo(demo.room, 3, refIds, names, descriptions);
}

void snapshotSaved(int saved, void*) {
    if (saved) {
        std::printf("screenshot: %s\n", demo.screenshotPath.c_str());
    } else {
        std::fprintf(stderr, "demo: the screenshot could not be saved to %s\n", demo.screenshotPath.c_str());
        demo.exitCode = 1;
    }
    g_main_loop_quit(demo.loop);
}

// The host enters the room the first time it is shown, as a host does when
// the user opens the room's tab.
gboolean onRoomShown(gpointer) {
    if (demo.roomShown || demo.room == nullptr) return G_SOURCE_REMOVE;
    demo.roomShown = true;
    announce("the room is shown: handing over the updates and entering it");
    giveUpdatesToRoom();
    NotifyXLoopRoomVisited(demo.room);
    return G_SOURCE_REMOVE;
}

gboolean onRoomEntered(gpointer) {
    if (demo.screenshotPath.empty() || demo.snapshotTaken || demo.room == nullptr) return G_SOURCE_REMOVE;
    demo.snapshotTaken = true;
    announce("the room is entered: saving the screenshot");
    VEQPodSaveSnapshot(demo.room, demo.screenshotPath.c_str(), snapshotSaved, nullptr);
    return G_SOURCE_REMOVE;
}

gboolean giveUp(gpointer) {
    std::fprintf(stderr, "demo: the room was not shown within %u s\n", kHeadlessGiveUpSeconds);
    demo.exitCode = 1;
    g_main_loop_quit(demo.loop);
    return G_SOURCE_REMOVE;
}

// The module's diagnostic lines, timed; the room page reports through
// "writeLog", so its lines also drive the host. May run on any thread.
void printModuleLine(const char* line) {
    std::printf("[%7.3f s] %s\n", secondsSinceStart(), line);
    std::fflush(stdout);
    if (std::strstr(line, kRoomShown) != nullptr) g_idle_add(onRoomShown, nullptr);
    if (std::strstr(line, kRoomEntered) != nullptr) g_idle_add(onRoomEntered, nullptr);
}

void onWindowClosed(GtkWidget*, gpointer) {
    demo.windowClosed = true;
    demo.room = nullptr;  // the pod destroys the client with its container
    g_main_loop_quit(demo.loop);
}

bool readOptions(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) {
            demo.screenshotPath = argv[++i];
        } else {
            std::fprintf(stderr, "usage: %s [--screenshot PATH]\n", argv[0]);
            return false;
        }
    }
    return true;
}

int runDemo() {
    SetVEQLogSink(printModuleLine);
    InitializeVEQ(nullptr);
    const guint taskSource = xloop_demo::attachVEQTasksToMainLoop();

    xloop_demo::SessionFolder session;
    const xloop_demo::RoomSite samples = xloop_demo::sampleSite();
    xloop_demo::RoomPageServer server(samples);
    const std::filesystem::path shipped =
        xloop_demo::writeShippedConfiguration(server.configuration(), session.shippedFolder());
    std::printf("demo: pages on %s, user data in %s\n", server.address().c_str(),
                session.userDataFolder().c_str());

    xloop_demo::ConfigurationRecord config(GetVEQConfiguration(
        shipped.c_str(), server.configurationURL().c_str(), "XLoopDemo", "17.0", "en_US",
        session.userDataFolder().c_str(), "xloop-room-demo", "trial",
        xloop_demo::offlinePagePath(samples.pagesFolder).c_str(), false, false));

    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), "XLoop room demo");
    gtk_window_set_default_size(GTK_WINDOW(window), 1024, 768);
    g_signal_connect(window, "destroy", G_CALLBACK(onWindowClosed), nullptr);
    gtk_widget_show(window);

    demo.loop = g_main_loop_new(nullptr, FALSE);
    demo.room = CreateBrowserClientWithConfig(window, config.get(), nullptr);
    if (demo.room == nullptr) {
        std::fprintf(stderr, "demo: the module made no room browser\n");
        demo.exitCode = 1;
    } else {
        if (!demo.screenshotPath.empty()) g_timeout_add_seconds(kHeadlessGiveUpSeconds, giveUp, nullptr);
        g_main_loop_run(demo.loop);
    }

    ShutDownVEQ();
    if (!demo.windowClosed) gtk_widget_destroy(window);
    if (taskSource != 0) g_source_remove(taskSource);
    g_main_loop_unref(demo.loop);
    announce("shut down");
    return demo.exitCode;
}

}  // namespace

int main(int argc, char** argv) {
    if (!readOptions(argc, argv)) return 2;
    if (!gtk_init_check(&argc, &argv)) {
        std::fprintf(stderr, "demo: no display; run it under xvfb-run -a (scripts/demo does)\n");
        return 1;
    }
    return runDemo();
}
