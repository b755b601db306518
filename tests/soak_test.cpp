// Ten thousand room browsers made and destroyed, with page loads and actions
// in between: memory stays flat once warm, and no thread or descriptor is
// left behind. Linux, where /proc tells.
#include <gtest/gtest.h>

#if !defined(_WIN32)

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "testing/http_test_server.h"
#include "testing/veqpod/veqpod_control.h"
#include "tests/room_support.h"
#include "tests/test_support.h"

using namespace xloop_test;

namespace {

long residentKilobytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

int threads() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("Threads:", 0) == 0) return std::stoi(line.substr(8));
    }
    return -1;
}

int descriptors() {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        (void)entry;
        ++count;
    }
    return count;
}

void quiet(const char*) {}

TEST(SoakTest, TenThousandRoomBrowsersLeaveNothingBehind) {
#if defined(XLOOP_SANITIZED)
    GTEST_SKIP() << "memory figures need a build without sanitizers";
#endif
    HttpTestServer server;
    server.setRoute("/veqtemplate/room", answer(200, "<html>room</html>"));
    TempFolder userData;
    RoomRecord record;
    record.room(server.url("/veqtemplate/room?1"), userData.path());
    SetVEQLogSink(quiet);
    veqpodReset();

    auto oneBrowser = [&](int round) {
        InitializeVEQ(nullptr);  // the last browser's teardown ended the UI queue
        BrowserClient* client = CreateBrowserClientWithConfig(nullptr, record.get(), nullptr);
        ASSERT_TRUE(runUiTasksUntil([&] { return veqpodCallCount(client) > 0; }));
        veqpodFireLoadStarted(client, record->url);
        veqpodFireLoadFinished(client, record->url);
        veqpodInvokeAction(client, "readPreference", R"({"key":"theme","defaultValue":"light"})");
        veqpodInvokeAction(client, "writeLog", R"({"msg":"soak"})");
        veqpodInvokeAction(client, "writeLastViewedCardID", R"({"key":"card","value":"7"})");
        if (round % 500 == 0) {
            veqpodInvokeAction(client, "writePreference", R"({"key":"round","value":"r"})");
            NotifyXLoopRoomVisited(client);
        }
        veqpodDestroyClient(client);
        // What the test's own tools remember must not grow either.
        veqpodReset();
        server.forgetRequests();
    };

    // Every worker was told to quit; measure once the last ones have ended.
    const int baseline = 1 /* this thread */ + 1 /* the server's accept thread */;
    auto workersEnded = [&] { return waitUntil([&] { return threads() == baseline; }); };

    for (int round = 0; round < 1000; ++round) oneBrowser(round);  // warm-up
    ASSERT_TRUE(workersEnded()) << threads() << " threads";
    const long warmKilobytes = residentKilobytes();
    const int warmDescriptors = descriptors();
    for (int round = 0; round < 9000; ++round) oneBrowser(round);

    EXPECT_TRUE(workersEnded()) << threads() << " threads";
    // A descriptor may still be on its way to closing with the last exchange.
    EXPECT_TRUE(waitUntil([&] { return descriptors() == warmDescriptors; }))
        << descriptors() << " descriptors, " << warmDescriptors << " when warm";
    // A busy machine keeps more workers alive at once, and the C library
    // keeps their stacks for reuse: allow for that, not for a leak per browser.
    EXPECT_LT(residentKilobytes() - warmKilobytes, 8192) << warmKilobytes << " KB warm";
    SetVEQLogSink(nullptr);
}

}  // namespace

#endif
