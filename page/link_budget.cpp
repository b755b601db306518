#include "page/link_budget.h"

namespace XLoop {

bool LinkBudget::take(Clock::time_point now) {
    std::lock_guard<std::mutex> guard(lock);
    if (!started) {
        started = true;
        lastRefill = now;
    }
    const auto earned = (now - lastRefill) / kRefill;
    if (earned > 0) {
        available = earned >= kBurst - available ? kBurst : available + static_cast<int>(earned);
        lastRefill += earned * kRefill;
    }
    if (available == 0) return false;
    --available;
    return true;
}

}  // namespace XLoop
