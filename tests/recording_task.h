// A task that records, thread-safely, when it runs, is cancelled and dies.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "runtime/task.h"

namespace xloop_test {

class TaskEvents {
public:
    void add(const std::string& event) {
        std::lock_guard<std::mutex> lock(mutex);
        events.push_back(event);
        threads.push_back(std::this_thread::get_id());
        changed.notify_all();
    }

    std::vector<std::string> all() const {
        std::lock_guard<std::mutex> lock(mutex);
        return events;
    }

    bool has(const std::string& event) const {
        std::lock_guard<std::mutex> lock(mutex);
        return contains(event);
    }

    std::thread::id threadOf(const std::string& event) const {
        std::lock_guard<std::mutex> lock(mutex);
        for (size_t i = 0; i < events.size(); ++i)
            if (events[i] == event) return threads[i];
        return {};
    }

    // Waits for an event a worker thread will add; false after a deadline
    // that only a hung build reaches.
    bool waitFor(const std::string& event) {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(30), [&] { return contains(event); });
    }

private:
    bool contains(const std::string& event) const {
        for (const auto& seen : events)
            if (seen == event) return true;
        return false;
    }

    mutable std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> events;
    std::vector<std::thread::id> threads;
};

// Records "<name> ran", "<name> cancelled" and "<name> deleted".
class RecordingTask : public XLoop::Task {
public:
    // Takes over the caller's reference to followUp.
    RecordingTask(std::string name, TaskEvents& events, XLoop::Task* followUp = nullptr)
        : XLoop::Task(XLoop::RefPtr<XLoop::Task>::adopt(followUp)), name(std::move(name)), events(events) {}
    ~RecordingTask() override { events.add(name + " deleted"); }

    void run() override { events.add(name + " ran"); }
    void onCancel() override { events.add(name + " cancelled"); }

private:
    std::string name;
    TaskEvents& events;
};

}  // namespace xloop_test
