#include "base/ui_thread.h"

#include <atomic>
#include <thread>

namespace XLoop {
namespace {

std::atomic<std::thread::id> g_uiThread{};

}  // namespace

void bindUiThread() {
    g_uiThread.store(std::this_thread::get_id());
}

bool onUiThread() {
    const std::thread::id bound = g_uiThread.load();
    return bound == std::thread::id() || bound == std::this_thread::get_id();
}

}  // namespace XLoop
