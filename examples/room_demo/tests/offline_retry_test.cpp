// The offline page when the page server is down, and the way back to the
// room through "retryGetOnline" once it is up again.
#include "examples/room_demo/tests/room_host_test.h"

namespace xloop_demo_test {
namespace {

const char kPressRetry[] = "document.getElementById('retry').click();";

TEST_F(RoomHostTest, TheOfflinePageShowsAndRetryBringsTheRoomBackWithTheServer) {
    resolveConfiguration();
    const int port = server->port();
    server.reset();
    BrowserClient* room = openRoom();
    ASSERT_NE(room, nullptr);

    ASSERT_TRUE(runUntil([] { return linesWith(kOfflinePageShown) == 1; }));
    EXPECT_GE(firstLineWith(std::string("Page load finished for ") + config->offlinePageURL), 0);
    EXPECT_EQ(linesWith(kRoomShown), 0);

    room->executeScript(kPressRetry);
    ASSERT_TRUE(runUntil([] { return linesWith(kStillOffline) == 1; }));
    EXPECT_EQ(linesWith(kRoomShown), 0);

    server = std::make_unique<xloop_demo::RoomPageServer>(samples, port);
    room->executeScript(kPressRetry);

    ASSERT_TRUE(runUntil([] { return linesWith(kRoomShown) == 1; }));
    EXPECT_GE(firstLineWith("Retry is now complete with result : 1"), 0);
}

}  // namespace
}  // namespace xloop_demo_test
