// Shared helpers: capture the module's log lines, run the UI-thread queue.
#pragma once

#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace xloop_test {

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
// everything in it when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
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
