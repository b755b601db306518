// A screenshot of the entered room, kept in the build folder as an artefact.
#include "examples/room_demo/tests/room_host_test.h"

namespace xloop_demo_test {
namespace {

const char kRoomEntered[] = "xloop-room-demo: room entered";

TEST_F(RoomHostTest, TheEnteredRoomIsSavedAsAScreenshotThatIsNotBlank) {
    resolveConfiguration();
    BrowserClient* room = openRoom();
    ASSERT_NE(room, nullptr);
    ASSERT_TRUE(runUntil([] { return linesWith(kRoomShown) == 1; }));
    NotifyXLoopRoomVisited(room);
    ASSERT_TRUE(runUntil([] { return linesWith(kRoomEntered) == 1; }));
    const std::filesystem::path png = std::filesystem::path(XLOOP_TEST_ARTEFACTS_DIR) / "room.png";
    std::filesystem::create_directories(png.parent_path());
    std::filesystem::remove(png);
    veqpod_test::SnapshotOutcome outcome;

    VEQPodSaveSnapshot(room, png.c_str(), veqpod_test::noteSnapshot, &outcome);

    ASSERT_TRUE(runUntil([&] { return outcome.done; }));
    ASSERT_EQ(outcome.saved, 1);
    // Text, tables and buttons on a coloured header give many colours; a
    // blank page gives one.
    EXPECT_GT(veqpod_test::summarise(png.string()).distinctColours, 20u);
}

}  // namespace
}  // namespace xloop_demo_test
