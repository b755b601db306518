// The runs of executeScript, paired with what Chromium reports of them.
#pragma once

#include <deque>
#include <functional>
#include <string>

namespace veqpod_qt {

// Chromium tells a run only its value, and an exception that nobody caught
// only to the page's console, as a message that may come before or after the
// value. A run whose value never came (it threw) takes the first such
// message that no earlier run took.
class ScriptRuns {
public:
    struct Run {
        std::string script;
        std::string pageUri;
    };
    // The exception as Chromium tells it, "Uncaught " aside; no column.
    struct Failure {
        std::string message;
        std::string sourceUri;
        unsigned line = 0;
    };
    using Report = std::function<void(const Run& run, const Failure& failure)>;

    explicit ScriptRuns(Report report) : report(std::move(report)) {}
    void started(Run run);
    // Runs end in the order they started.
    void ended(bool threw);
    // An exception nobody caught, in a run or elsewhere in the page.
    void uncaught(Failure failure);
    // Another document: whatever is unpaired belonged to the one before.
    void forget();

private:
    Report report;
    std::deque<Run> underWay;
    std::deque<Run> threwUnheard;
    std::deque<Failure> unclaimed;
};

}  // namespace veqpod_qt
