#include "examples/room_demo/module_log.h"

#include <cstdio>
#include <deque>
#include <mutex>

#include <glib.h>

#include "xloop/xloop_client.h"

namespace xloop_demo {
namespace {

// The module may log from its worker threads: everything here is shared.
struct Handover {
    std::mutex mutex;
    ModuleLog::Watcher watcher;
    SessionRecord* record = nullptr;
    std::deque<std::string> pending;
    bool deliveryScheduled = false;
};

Handover g_handover;
const gint64 g_startMicroseconds = g_get_monotonic_time();

void printTimed(const char* text) {
    std::printf("[%7.3f s] %s\n", static_cast<double>(millisecondsSinceStart()) / 1000, text);
    std::fflush(stdout);
}

gboolean deliver(gpointer) {
    std::deque<std::string> lines;
    ModuleLog::Watcher watcher;
    {
        std::lock_guard<std::mutex> lock(g_handover.mutex);
        lines.swap(g_handover.pending);
        watcher = g_handover.watcher;
        g_handover.deliveryScheduled = false;
    }
    for (const std::string& line : lines) {
        if (watcher) watcher(line);
    }
    return G_SOURCE_REMOVE;
}

void takeLine(const char* line) {
    printTimed(line);
    std::lock_guard<std::mutex> lock(g_handover.mutex);
    if (!g_handover.watcher) return;
    g_handover.record->write("log", {{"line", line}});
    g_handover.pending.emplace_back(line);
    if (!g_handover.deliveryScheduled) {
        g_handover.deliveryScheduled = true;
        g_idle_add(deliver, nullptr);
    }
}

}  // namespace

ModuleLog::ModuleLog(Watcher watcher, SessionRecord& record) {
    {
        std::lock_guard<std::mutex> lock(g_handover.mutex);
        g_handover.watcher = std::move(watcher);
        g_handover.record = &record;
    }
    SetVEQLogSink(takeLine);
}

ModuleLog::~ModuleLog() {
    SetVEQLogSink(nullptr);
    std::lock_guard<std::mutex> lock(g_handover.mutex);
    g_handover.watcher = nullptr;
    g_handover.record = nullptr;
    g_handover.pending.clear();
}

void announce(const std::string& text) {
    printTimed(("demo: " + text).c_str());
}

long long millisecondsSinceStart() {
    return (g_get_monotonic_time() - g_startMicroseconds) / 1000;
}

}  // namespace xloop_demo
