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
    std::deque<std::string> pending;
    bool deliveryScheduled = false;
};

Handover g_handover;
const gint64 g_startMicroseconds = g_get_monotonic_time();

void printTimed(const char* text) {
    const double seconds = static_cast<double>(g_get_monotonic_time() - g_startMicroseconds) / G_USEC_PER_SEC;
    std::printf("[%7.3f s] %s\n", seconds, text);
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
    g_handover.pending.emplace_back(line);
    if (!g_handover.deliveryScheduled) {
        g_handover.deliveryScheduled = true;
        g_idle_add(deliver, nullptr);
    }
}

}  // namespace

ModuleLog::ModuleLog(Watcher watcher) {
    {
        std::lock_guard<std::mutex> lock(g_handover.mutex);
        g_handover.watcher = std::move(watcher);
    }
    SetVEQLogSink(takeLine);
}

ModuleLog::~ModuleLog() {
    SetVEQLogSink(nullptr);
    std::lock_guard<std::mutex> lock(g_handover.mutex);
    g_handover.watcher = nullptr;
    g_handover.pending.clear();
}

void announce(const std::string& text) {
    printTimed(("demo: " + text).c_str());
}

}  // namespace xloop_demo
