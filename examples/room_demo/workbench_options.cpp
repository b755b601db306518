#include "examples/room_demo/workbench_options.h"

#include <cstdio>
#include <cstring>

#include <glib.h>

namespace xloop_demo {
namespace {

const char kUsage[] =
    "usage: %s [--room URL | --pages DIR] [--config FILE|URL] [--product NAME] [--version TEXT]\n"
    "          [--locale TEXT] [--screenshot PATH]\n"
    "  --room URL         show the room page at URL\n"
    "  --pages DIR        serve DIR on 127.0.0.1 under /veqtemplate/; DIR/room.html is the room\n"
    "  --config FILE|URL  the configuration the host ships (\"{server}\" stands for the page server)\n"
    "  --product, --version, --locale  what the host tells the module (XLoopDemo, 17.0, en_US)\n"
    "  --screenshot PATH  enter the room, save the window as a PNG and exit\n"
    "Without --room and --pages the sample pages are shown.\n";

std::optional<WorkbenchOptions> refuse(const char* program, const std::string& why) {
    if (!why.empty()) std::fprintf(stderr, "%s: %s\n", program, why.c_str());
    std::fprintf(stderr, kUsage, program);
    return std::nullopt;
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

}  // namespace

std::optional<WorkbenchOptions> readOptions(int argc, char** argv) {
    WorkbenchOptions options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) return refuse(argv[0], "");
        const bool hasValue = i + 1 < argc && argv[i + 1][0] != 0;
        const bool pages = std::strcmp(argv[i], "--pages") == 0;
        std::string* field = fieldFor(options, argv[i]);
        if (!pages && field == nullptr) return refuse(argv[0], std::string("unknown option ") + argv[i]);
        if (!hasValue) return refuse(argv[0], std::string(argv[i]) + " needs a value");
        if (pages) {
            options.pagesFolder = argv[++i];
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
    return options;
}

bool isWebAddress(const std::string& text) {
    return g_ascii_strncasecmp(text.c_str(), "http://", 7) == 0 ||
           g_ascii_strncasecmp(text.c_str(), "https://", 8) == 0;
}

}  // namespace xloop_demo
