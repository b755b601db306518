// Plays a steps file on the workbench, so that a flow runs the same with or
// without a display: each step at its time, pressing the panel's buttons.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <glib.h>

#include "examples/room_demo/workbench.h"
#include "examples/room_demo/workbench_steps.h"

namespace xloop_demo {

class StepPlayer {
public:
    // finished runs after the last step, or at a quit step (quit true).
    StepPlayer(Workbench& bench, std::vector<Step> steps, std::function<void(bool quit)> finished);
    ~StepPlayer();
    StepPlayer(const StepPlayer&) = delete;
    StepPlayer& operator=(const StepPlayer&) = delete;

    // The steps' times count from now; a second call does nothing.
    void start();

private:
    static gboolean playDue(gpointer self);
    void scheduleNext();
    // Plays the next step; false while it is still under way (a screenshot).
    bool play(const Step& step);
    void note(const Step& step, const char* skipped = nullptr);

    Workbench& bench;
    std::vector<Step> steps;
    std::function<void(bool quit)> finished;
    size_t next = 0;
    gint64 startedAt = -1;
    guint timer = 0;
    // A screenshot under way finds it false once this is gone.
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
};

}  // namespace xloop_demo
