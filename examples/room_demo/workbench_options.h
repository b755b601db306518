// The room demo's command line: which room, which configuration, which host.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

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

    // Neither --room nor --pages: the sample pages, as the demo always ran.
    bool samples() const { return roomURL.empty() && pagesFolder.empty(); }
};

// The options, or nothing after writing what is wrong and the usage to
// standard error.
std::optional<WorkbenchOptions> readOptions(int argc, char** argv);

// An http or https address (as opposed to a file path).
bool isWebAddress(const std::string& text);

}  // namespace xloop_demo
