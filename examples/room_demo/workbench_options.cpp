#include "examples/room_demo/workbench_options.h"

#include <cstdio>
#include <cstring>

#include <glib.h>

namespace xloop_demo {
namespace {

const char kUsage[] =
    "usage: %s [--room URL | --pages DIR] [--config FILE|URL] [--product NAME] [--version TEXT]\n"
    "          [--locale TEXT] [--screenshot PATH] [--record FILE] [--keep DIR] [--steps FILE]\n"
    "  --room URL         show the room page at URL\n"
    "  --pages DIR        serve DIR on 127.0.0.1 under /veqtemplate/; DIR/room.html is the room\n"
    "  --config FILE|URL  the configuration the host ships (\"{server}\" stands for the page server)\n"
    "  --product, --version, --locale  what the host tells the module (XLoopDemo, 17.0, en_US)\n"
    "  --screenshot PATH  enter the room, save the window as a PNG and exit (with --steps: after\n"
    "                     the last step)\n"
    "  --record FILE      write every crossing between the module and the page to FILE as JSON Lines\n"
    "  --keep DIR         keep the session folder (user data, preferences file) in DIR, a new or\n"
    "                     empty folder, instead of deleting it at exit\n"
    "  --steps FILE       press the buttons at given times; a line: <ms> <action> [argument], ms\n"
    "                     counted from the first page shown; actions: server-down, server-up, enter,\n"
    "                     send-updates, script JS, screenshot PATH, quit\n"
    "Without --room and --pages the sample pages are shown.\n";

CommandLine refuse(const char* program, const std::string& why) {
    std::fprintf(stderr, "%s: %s\n", program, why.c_str());
    std::fprintf(stderr, kUsage, program);
    return {std::nullopt, kUsageExit};
}

// A folder a session can start in: none yet, or an empty one.
bool isNewOrEmptyFolder(const std::filesystem::path& folder) {
    std::error_code error;
    if (!std::filesystem::exists(folder, error)) return !error;
    return std::filesystem::is_directory(folder, error) && std::filesystem::is_empty(folder, error) && !error;
}

// The text field an option sets, or null for a word that is not one.
std::string* fieldFor(WorkbenchOptions& options, const char* name) {
    if (std::strcmp(name, "--room") == 0) return &options.roomURL;
    if (std::strcmp(name, "--config") == 0) return &options.config;
    if (std::strcmp(name, "--product") == 0) return &options.product;
    if (std::strcmp(name, "--version") == 0) return &options.version;
    if (std::strcmp(name, "--locale") == 0) return &options.locale;
    if (std::strcmp(name, "--screenshot") == 0) return &options.screenshotPath;
    return nullptr;
}

// The path an option sets, or null for a word that is not one.
std::filesystem::path* pathFor(WorkbenchOptions& options, const char* name, std::filesystem::path& steps) {
    if (std::strcmp(name, "--pages") == 0) return &options.pagesFolder;
    if (std::strcmp(name, "--record") == 0) return &options.recordPath;
    if (std::strcmp(name, "--keep") == 0) return &options.keepFolder;
    if (std::strcmp(name, "--steps") == 0) return &steps;
    return nullptr;
}

}  // namespace

CommandLine readCommandLine(int argc, char** argv) {
    WorkbenchOptions options;
    std::filesystem::path stepsFile;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::printf(kUsage, argv[0]);
            return {std::nullopt, 0};
        }
        const bool hasValue = i + 1 < argc && argv[i + 1][0] != 0;
        std::filesystem::path* path = pathFor(options, argv[i], stepsFile);
        std::string* field = fieldFor(options, argv[i]);
        if (path == nullptr && field == nullptr) return refuse(argv[0], std::string("unknown option ") + argv[i]);
        if (!hasValue) return refuse(argv[0], std::string(argv[i]) + " needs a value");
        if (path != nullptr) {
            *path = argv[++i];
        } else {
            *field = argv[++i];
        }
    }
    if (!options.roomURL.empty() && !options.pagesFolder.empty()) {
        return refuse(argv[0], "--room and --pages both name the room: give one");
    }
    if (!options.roomURL.empty() && !options.config.empty()) {
        return refuse(argv[0], "--room and --config both name the room: give one");
    }
    if (!options.pagesFolder.empty() && !std::filesystem::is_regular_file(options.pagesFolder / "room.html")) {
        return refuse(argv[0], "there is no room.html in " + options.pagesFolder.string());
    }
    if (!options.keepFolder.empty() && !isNewOrEmptyFolder(options.keepFolder)) {
        return refuse(argv[0], "--keep " + options.keepFolder.string() + ": name a new or empty folder");
    }
    if (!stepsFile.empty()) {
        auto steps = readSteps(stepsFile);
        if (auto* why = std::get_if<std::string>(&steps)) return refuse(argv[0], *why);
        options.steps = std::get<std::vector<Step>>(std::move(steps));
    }
    return {options, 0};
}

bool isWebAddress(const std::string& text) {
    return g_ascii_strncasecmp(text.c_str(), "http://", 7) == 0 ||
           g_ascii_strncasecmp(text.c_str(), "https://", 8) == 0;
}

}  // namespace xloop_demo
