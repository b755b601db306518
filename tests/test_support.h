// Shared helpers: capture the module's log lines, run the UI-thread queue,
// answer on the test server, make temporary folders.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "testing/http_test_server.h"

namespace xloop_test {

// An answer of the test server: its status, its body, and a wait before it.
inline HttpRoute answer(int status, std::string body = "", int delayMilliseconds = 0) {
    HttpRoute route;
    route.status = status;
    route.body = std::move(body);
    route.delayMilliseconds = delayMilliseconds;
    return route;
}

// Routes the module's log lines into memory for the lifetime of the object.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    std::vector<std::string> lines() const;
    bool contains(const std::string& line) const;

private:
    static void collect(const char* line);
};

// A new, empty folder under the system's temporary folder, removed with
// everything in it when the object goes. Defined here so that the browser
// library's tests, which do not link the module, share it.
class TempFolder {
public:
    TempFolder() {
        static std::atomic<int> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        folder = std::filesystem::temp_directory_path() /
                 ("xloop-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(folder);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    const std::filesystem::path& path() const { return folder; }

private:
    std::filesystem::path folder;
};

// Runs the module's UI-thread tasks on this thread until done() holds. Gives
// up after a generous deadline so that a broken build fails instead of hanging;
// returns whether done() held.
bool runUiTasksUntil(const std::function<bool()>& done);

// Waits, without running UI-thread tasks, until done() holds; the same
// deadline as above.
bool waitUntil(const std::function<bool()>& done);

// Runs whatever UI-thread tasks are pending right now.
void runPendingUiTasks();

}  // namespace xloop_test
