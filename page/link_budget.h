// How many links one browser's page may have opened: the page is remote
// content and must not be able to flood the desktop with windows.
#pragma once

#include <chrono>
#include <mutex>

namespace XLoop {

// A burst of a few links, then about one a second.
class LinkBudget {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr int kBurst = 5;
    static constexpr Clock::duration kRefill = std::chrono::seconds(1);

    // Takes one link from the budget; false when it is spent. From any
    // thread: the library may call the page's actions on one of its own.
    bool take(Clock::time_point now = Clock::now());

private:
    std::mutex lock;
    int available = kBurst;
    Clock::time_point lastRefill{};
    bool started = false;
};

}  // namespace XLoop
