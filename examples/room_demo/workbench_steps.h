// A script of button presses for the workbench, so that a flow runs the same
// way every time, with or without a display. One step a line:
//
//   <ms> <action> [argument]
//
// ms counts from the moment the room's first page (or the offline page) has
// been initialised, or from the start when there is no room; steps come in
// order of time. The actions: server-down, server-up, enter, send-updates
// (the panel's buttons), script JS (runs JS in the room's page as the
// module's calls run), screenshot PATH (saves the window) and quit. Blank
// lines and lines starting with # are skipped.
#pragma once

#include <filesystem>
#include <string>
#include <variant>
#include <vector>

namespace xloop_demo {

enum class StepAction { ServerDown, ServerUp, EnterRoom, SendUpdates, Script, Screenshot, Quit };

struct Step {
    int lineNumber = 0;
    long milliseconds = 0;
    StepAction action = StepAction::Quit;
    std::string argument;  // the script or the path; empty for the others
};

// The action's name as written in a steps file.
const char* stepActionName(StepAction action);

// The steps of a file, or why it cannot be played: "FILE:LINE: what is
// wrong" for the first bad line.
std::variant<std::vector<Step>, std::string> readSteps(const std::filesystem::path& file);

}  // namespace xloop_demo
