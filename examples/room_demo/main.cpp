// The room demo, a workbench for the room page: a GTK host that shows the
// room through the module's exports with the WebKitGTK browser library,
// beside a panel of what passes between them. With --screenshot PATH it
// enters the room, saves the window as a PNG and exits; otherwise it runs
// until the window closes. --steps FILE presses the buttons instead, at
// given times. --help lists the options.
#include <gtk/gtk.h>

#include <cstdio>
#include <stdexcept>

#include "examples/room_demo/module_log.h"
#include "examples/room_demo/step_player.h"
#include "examples/room_demo/workbench.h"

namespace {

// Far beyond a normal start; only a broken setup makes a headless run wait this long.
constexpr guint kHeadlessGiveUpSeconds = 120;
// Time for the page to answer being entered before the screenshot.
constexpr guint kSettleSeconds = 1;

struct Run {
    xloop_demo::WorkbenchOptions options;
    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    xloop_demo::Workbench* bench = nullptr;
    bool screenshotStarted = false;
    guint giveUpTimer = 0;
    int exitCode = 0;
};

gboolean quitWith(Run& run, int exitCode) {
    run.exitCode = exitCode;
    g_main_loop_quit(run.loop);
    return G_SOURCE_REMOVE;
}

gboolean saveScreenshot(gpointer data) {
    Run& run = *static_cast<Run*>(data);
    if (run.screenshotStarted) return G_SOURCE_REMOVE;
    run.screenshotStarted = true;
    xloop_demo::announce("saving the screenshot");
    run.bench->saveScreenshot(run.options.screenshotPath, [&run](bool saved) {
        if (saved) {
            std::printf("screenshot: %s\n", run.options.screenshotPath.c_str());
        } else {
            std::fprintf(stderr, "demo: the screenshot could not be saved to %s\n",
                         run.options.screenshotPath.c_str());
        }
        quitWith(run, saved ? 0 : 1);
    });
    return G_SOURCE_REMOVE;
}

gboolean giveUp(gpointer data) {
    std::fprintf(stderr, "demo: the room was not shown within %u s\n", kHeadlessGiveUpSeconds);
    static_cast<Run*>(data)->giveUpTimer = 0;
    return quitWith(*static_cast<Run*>(data), 1);
}

// The steps start once the room's first page is shown, or at once when
// there is no room.
void playSteps(Run& run, xloop_demo::StepPlayer& player) {
    xloop_demo::Workbench& bench = *run.bench;
    auto start = [&run, &player] {
        if (run.giveUpTimer != 0) g_source_remove(run.giveUpTimer);
        run.giveUpTimer = 0;
        player.start();
    };
    bench.onFirstPageShown = start;
    if (bench.room() == nullptr) start();
}

int runWorkbench(Run& run) {
    xloop_demo::Workbench bench(run.options);
    run.bench = &bench;
    const bool headless = !run.options.screenshotPath.empty();
    const bool stepping = !run.options.steps.empty();
    // With a screenshot to take, the end of the steps is the end of the run.
    xloop_demo::StepPlayer player(bench, run.options.steps, [&run, headless](bool quit) {
        if (headless) {
            saveScreenshot(&run);
        } else if (quit) {
            quitWith(run, 0);
        }
    });
    if (stepping) {
        playSteps(run, player);
    } else if (run.options.samples() || headless) {
        // A host enters the room the first time it is shown, as when the user
        // opens the room's tab. A page author's own page waits for the button.
        bench.onFirstPageShown = [&bench] {
            xloop_demo::announce("the room is shown: handing over the updates and entering it");
            bench.sendSampleUpdates();
            bench.enterRoom();
        };
    }
    if (headless && !stepping) {
        bench.onRoomToldEntered = [&run] { g_timeout_add_seconds(kSettleSeconds, saveScreenshot, &run); };
    }
    if (headless) run.giveUpTimer = g_timeout_add_seconds(kHeadlessGiveUpSeconds, giveUp, &run);
    bench.onWindowClosed = [&run] { quitWith(run, run.exitCode); };
    if (bench.room() == nullptr && !bench.configuration().killSwitch) {
        std::fprintf(stderr, "demo: the module made no room browser\n");
        return 1;
    }
    // No room to wait for: the panel says why.
    if (bench.room() == nullptr && headless && !stepping) {
        g_timeout_add_seconds(kSettleSeconds, saveScreenshot, &run);
    }
    g_main_loop_run(run.loop);
    if (run.giveUpTimer != 0) g_source_remove(run.giveUpTimer);
    return run.exitCode;
}

}  // namespace

int main(int argc, char** argv) {
    const xloop_demo::CommandLine commandLine = xloop_demo::readCommandLine(argc, argv);
    if (!commandLine.options) return commandLine.exitCode;
    if (!gtk_init_check(&argc, &argv)) {
        std::fprintf(stderr, "demo: no display; run it under xvfb-run -a (scripts/demo does)\n");
        return 1;
    }
    Run run;
    run.options = *commandLine.options;
    int exitCode = 1;
    try {
        exitCode = runWorkbench(run);
    } catch (const std::runtime_error& error) {
        std::fprintf(stderr, "demo: %s\n", error.what());
    }
    g_main_loop_unref(run.loop);
    xloop_demo::announce("shut down");
    return exitCode;
}
