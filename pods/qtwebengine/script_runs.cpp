#include "pods/qtwebengine/script_runs.h"

#include <cstddef>
#include <utility>

namespace veqpod_qt {
namespace {

// Exceptions of the page's own kept while runs are under way, at most.
constexpr size_t kUnclaimedKept = 16;

}  // namespace

void ScriptRuns::started(Run run) {
    underWay.push_back(std::move(run));
}

void ScriptRuns::ended(bool threw) {
    if (underWay.empty()) return;
    Run run = std::move(underWay.front());
    underWay.pop_front();
    if (threw && !unclaimed.empty()) {
        const Failure failure = std::move(unclaimed.front());
        unclaimed.pop_front();
        report(run, failure);
    } else if (threw) {
        threwUnheard.push_back(std::move(run));
    }
    // Left over once every run has ended: the page's own.
    if (underWay.empty()) unclaimed.clear();
}

void ScriptRuns::uncaught(Failure failure) {
    if (!threwUnheard.empty()) {
        const Run run = std::move(threwUnheard.front());
        threwUnheard.pop_front();
        report(run, failure);
    } else if (!underWay.empty() && unclaimed.size() < kUnclaimedKept) {
        unclaimed.push_back(std::move(failure));
    }
}

void ScriptRuns::forget() {
    threwUnheard.clear();
    unclaimed.clear();
}

}  // namespace veqpod_qt
