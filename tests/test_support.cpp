#include "tests/test_support.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "xloop/xloop_client.h"

#if !defined(_WIN32)
#include <poll.h>
#endif

namespace xloop_test {
namespace {

std::mutex g_logMutex;
std::vector<std::string> g_logLines;

}  // namespace

LogCapture::LogCapture() {
    std::lock_guard<std::mutex> lock(g_logMutex);
    g_logLines.clear();
    SetVEQLogSink(&LogCapture::collect);
}

LogCapture::~LogCapture() {
    SetVEQLogSink(nullptr);
}

void LogCapture::collect(const char* line) {
    std::lock_guard<std::mutex> lock(g_logMutex);
    g_logLines.emplace_back(line);
}

std::vector<std::string> LogCapture::lines() const {
    std::lock_guard<std::mutex> lock(g_logMutex);
    return g_logLines;
}

bool LogCapture::contains(const std::string& line) const {
    auto all = lines();
    return std::find(all.begin(), all.end(), line) != all.end();
}

void runPendingUiTasks() {
    DispatchVEQTasks();
}

bool waitUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

bool runUiTasksUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
#if defined(_WIN32)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
#else
        pollfd wake{GetVEQDispatchFd(), POLLIN, 0};
        if (wake.fd < 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        } else {
            poll(&wake, 1, 10);
        }
#endif
        DispatchVEQTasks();
    }
    return true;
}

}  // namespace xloop_test
