// The room demo's command line: which room, which configuration, which host.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "examples/room_demo/workbench_steps.h"

namespace xloop_demo {

struct WorkbenchOptions {
    // --room URL: a room page served elsewhere.
    std::string roomURL;
    // --pages DIR: a folder of pages served on 127.0.0.1; its room.html is the room.
    std::filesystem::path pagesFolder;
    // --config FILE|URL: the configuration the host ships.
    std::string config;
    std::string product = "XLoopDemo";
    std::string version = "17.0";
    std::string locale = "en_US";
    // --screenshot PATH: save the window once the room is entered, then exit.
    std::string screenshotPath;
    // --record FILE: every crossing between the module and the page, as JSON Lines.
    std::filesystem::path recordPath;
    // --keep DIR: the session folder (user data, preferences file) lives here and stays.
    std::filesystem::path keepFolder;
    // --steps FILE, read: the buttons pressed at given times; empty without it.
    std::vector<Step> steps;

    // Neither --room nor --pages: the sample pages, as the demo always ran.
    bool samples() const { return roomURL.empty() && pagesFolder.empty(); }
};

// A usage mistake, as sysexits names it.
inline constexpr int kUsageExit = 64;

// What the command line asks for: a run with options, or none and the exit
// code, after the usage went to standard output (--help, 0) or what is
// wrong and the usage went to standard error (kUsageExit).
struct CommandLine {
    std::optional<WorkbenchOptions> options;
    int exitCode = 0;
};
CommandLine readCommandLine(int argc, char** argv);

// An http or https address (as opposed to a file path).
bool isWebAddress(const std::string& text);

}  // namespace xloop_demo
