#include "examples/room_demo/step_player.h"

#include <algorithm>
#include <cstdio>

namespace xloop_demo {

using Button = WorkbenchPanel::Button;

StepPlayer::StepPlayer(Workbench& bench, std::vector<Step> steps, std::function<void(bool quit)> finished)
    : bench(bench), steps(std::move(steps)), finished(std::move(finished)) {}

StepPlayer::~StepPlayer() {
    *alive = false;
    if (timer != 0) g_source_remove(timer);
}

void StepPlayer::start() {
    if (startedAt >= 0) return;
    startedAt = g_get_monotonic_time();
    scheduleNext();
}

void StepPlayer::scheduleNext() {
    if (next == steps.size()) {
        finished(false);
        return;
    }
    const gint64 due = startedAt + steps[next].milliseconds * 1000;
    const gint64 wait = std::max<gint64>(0, due - g_get_monotonic_time());
    timer = g_timeout_add(static_cast<guint>((wait + 999) / 1000), playDue, this);
}

gboolean StepPlayer::playDue(gpointer self) {
    auto* player = static_cast<StepPlayer*>(self);
    player->timer = 0;
    const Step& step = player->steps[player->next++];
    if (step.action == StepAction::Quit) {
        player->note(step);
        player->finished(true);
    } else if (player->play(step)) {
        player->scheduleNext();
    }
    return G_SOURCE_REMOVE;
}

bool StepPlayer::play(const Step& step) {
    auto pressing = [&](Button button) {
        const bool pressable = bench.panel().canPress(button);
        note(step, pressable ? nullptr : "the button cannot be pressed now");
        bench.panel().press(button);
        return true;
    };
    switch (step.action) {
        case StepAction::ServerDown: return pressing(Button::ServerDown);
        case StepAction::ServerUp: return pressing(Button::ServerUp);
        case StepAction::EnterRoom: return pressing(Button::EnterRoom);
        case StepAction::SendUpdates: return pressing(Button::SendUpdates);
        case StepAction::Script:
            // Run as the module's own calls run: only on a page the room loaded.
            note(step, bench.room() != nullptr ? nullptr : "there is no room");
            if (bench.room() != nullptr) bench.room()->executeScript(step.argument.c_str());
            return true;
        case StepAction::Screenshot:
            note(step);
            bench.saveScreenshot(step.argument, [this, alive = alive, path = step.argument](bool saved) {
                if (!saved) std::fprintf(stderr, "demo: the screenshot could not be saved to %s\n", path.c_str());
                if (*alive) scheduleNext();
            });
            return false;
        case StepAction::Quit: break;
    }
    return true;
}

// The step goes to the console and the record before it acts, so that what
// it causes follows it there.
void StepPlayer::note(const Step& step, const char* skipped) {
    nlohmann::ordered_json fields{{"line", step.lineNumber}, {"action", stepActionName(step.action)}};
    if (!step.argument.empty()) fields["argument"] = step.argument;
    if (skipped != nullptr) fields["skipped"] = skipped;
    bench.record().write("step", std::move(fields));
    announce("step " + std::to_string(step.lineNumber) + ": " + stepActionName(step.action) +
             (skipped != nullptr ? std::string(" skipped: ") + skipped : ""));
}

}  // namespace xloop_demo
