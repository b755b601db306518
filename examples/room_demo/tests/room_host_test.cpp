#include "examples/room_demo/tests/room_host_test.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

#include <glib.h>

#include "examples/room_demo/preferences_listing.h"
#include "examples/room_demo/veq_main_loop.h"

namespace xloop_demo_test {
namespace {

std::mutex linesMutex;
std::vector<std::string> lines;

// The module may log from its worker threads.
void collectLine(const char* line) {
    std::lock_guard<std::mutex> lock(linesMutex);
    lines.emplace_back(line);
}

}  // namespace

void RoomHostTest::SetUp() {
    if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
        GTEST_SKIP() << "no display: run under xvfb-run";
    }
    {
        std::lock_guard<std::mutex> lock(linesMutex);
        lines.clear();
    }
    SetVEQLogSink(collectLine);
    ASSERT_EQ(InitializeVEQ(nullptr), 1);
    started = true;
    taskSource = xloop_demo::attachVEQTasksToMainLoop();
    ASSERT_NE(taskSource, 0u);
}

void RoomHostTest::TearDown() {
    if (!started) return;
    if (HasFailure()) {
        std::lock_guard<std::mutex> lock(linesMutex);
        for (const std::string& line : lines) std::fprintf(stderr, "module: %s\n", line.c_str());
    }
    ShutDownVEQ();
    g_source_remove(taskSource);
    SetVEQLogSink(nullptr);
}

void RoomHostTest::resolveConfiguration() {
    const std::filesystem::path shipped =
        xloop_demo::writeShippedConfiguration(server->configuration(), session.shippedFolder());
    config.reset(GetVEQConfiguration(shipped.c_str(), server->configurationURL().c_str(), "XLoopDemo", "17.0",
                                     "en_US", session.userDataFolder().c_str(), "room-test", "trial",
                                     xloop_demo::offlinePagePath(samples.pagesFolder).c_str(), false, false));
}

BrowserClient* RoomHostTest::openRoom() {
    return CreateBrowserClientWithConfig(nullptr, config.get(), nullptr);
}

int RoomHostTest::linesWith(const std::string& fragment) {
    std::lock_guard<std::mutex> lock(linesMutex);
    int count = 0;
    for (const std::string& line : lines) count += line.find(fragment) != std::string::npos ? 1 : 0;
    return count;
}

int RoomHostTest::firstLineWith(const std::string& fragment) {
    std::lock_guard<std::mutex> lock(linesMutex);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find(fragment) != std::string::npos) return static_cast<int>(i);
    }
    return -1;
}

std::map<std::string, std::string> RoomHostTest::storedPreferences() const {
    // The page's actions use the record's locale, which is lower-cased.
    const std::filesystem::path file = session.userDataFolder() / "VEQ" / config->locale / "VEQPrefs.xml";
    const auto entries = xloop_demo::readPreferenceEntries(file);
    return entries ? std::map<std::string, std::string>(entries->begin(), entries->end())
                   : std::map<std::string, std::string>();
}

}  // namespace xloop_demo_test
