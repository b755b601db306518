// What the time-to-room benchmarks share: one process that hosts the module
// with the WebKitGTK browser library and a bare WebKit context beside it, the
// room page on a 127.0.0.1 server, and the GLib main loop that both need.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include "xloop/xloop_client.h"

namespace xloop_bench {

using Clock = std::chrono::steady_clock;

// The title the bench page's "initXLoopRoom" gives the document once it has
// read a room payload: both sides watch for it.
inline const char kRoomReadyTitle[] = "room ready";

class BrowserBenchHost {
public:
    // Starts everything once; empty error() when it worked.
    static BrowserBenchHost& instance();
    const std::string& error() const { return failure; }

    VEQConfiguration* configuration() const { return config; }
    // The room's address as the module loads it (with its cache-busting suffix).
    std::string roomURL() const;
    // The bare side's context: made once, ephemeral, as the library makes its own.
    WebKitWebContext* bareContext() const { return context; }

    // The last script the module ran in a room page (empty before the first):
    // what the bare view runs too.
    const std::string& roomScript() const { return script; }
    // When the module logged the reachability check's lines of the run under way.
    struct CheckTimes {
        Clock::time_point checkStarted;
        Clock::time_point checkAnswered;
        Clock::time_point roomLoadAsked;
    };
    CheckTimes checkTimes() const;
    void forgetCheckTimes();

    // Ends the module and the browser library, when a run started them.
    static void shutDownIfStarted();

private:
    BrowserBenchHost();
    void start();
    void shutDown();

    std::string failure;
    VEQConfiguration* config = nullptr;
    WebKitWebContext* context = nullptr;
    std::string script;
    unsigned taskSource = 0;
};

// A shown top-level window for one side's view; destroyed by the caller.
GtkWidget* newHostWindow();
// The first WebKit view inside widget, or null.
WebKitWebView* findWebView(GtkWidget* widget);

// Watches a view: when its first load started (its web process had come up
// by then) and when its title first reads kRoomReadyTitle.
class RoomReadyWatch {
public:
    explicit RoomReadyWatch(WebKitWebView* view);
    ~RoomReadyWatch();
    RoomReadyWatch(const RoomReadyWatch&) = delete;
    RoomReadyWatch& operator=(const RoomReadyWatch&) = delete;

    bool ready() const { return isReady; }
    Clock::time_point readyAt() const { return when; }
    Clock::time_point firstLoadStartedAt() const { return firstLoadStart; }

private:
    static void onTitle(GObject* view, GParamSpec*, gpointer self);
    static void onLoad(WebKitWebView* view, WebKitLoadEvent event, gpointer self);
    WebKitWebView* view;
    bool isReady = false;
    Clock::time_point when;
    bool loadStarted = false;
    Clock::time_point firstLoadStart;
};

// Runs the GLib main loop until done() holds or a deadline only a hung run
// reaches; returns whether done() held.
bool runUntil(const std::function<bool()>& done);
// Runs the main loop for a while: lets a destroyed view's web process go
// before the next run starts.
void settle();

}  // namespace xloop_bench
