// A screenshot of the entered room, kept in the build folder as an artefact.
#include <cairo.h>

#include <set>

#include "examples/room_demo/tests/room_host_test.h"

namespace xloop_demo_test {
namespace {

const char kRoomEntered[] = "xloop-room-demo: room entered";

struct SnapshotOutcome {
    bool done = false;
    int saved = 0;
};

void noteSnapshot(int saved, void* context) {
    auto* outcome = static_cast<SnapshotOutcome*>(context);
    outcome->done = true;
    outcome->saved = saved;
}

// The number of distinct colours in a PNG file; 0 when it cannot be read.
size_t distinctColours(const std::string& pngPath) {
    cairo_surface_t* image = cairo_image_surface_create_from_png(pngPath.c_str());
    std::set<uint32_t> colours;
    if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS) {
        const int stride = cairo_image_surface_get_stride(image);
        const unsigned char* data = cairo_image_surface_get_data(image);
        for (int y = 0; y < cairo_image_surface_get_height(image); ++y) {
            auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
            for (int x = 0; x < cairo_image_surface_get_width(image); ++x) colours.insert(row[x] & 0xFFFFFF);
        }
    }
    cairo_surface_destroy(image);
    return colours.size();
}

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
    SnapshotOutcome outcome;

    VEQPodSaveSnapshot(room, png.c_str(), noteSnapshot, &outcome);

    ASSERT_TRUE(runUntil([&] { return outcome.done; }));
    ASSERT_EQ(outcome.saved, 1);
    // Text, tables and buttons on a coloured header give many colours; a
    // blank page gives one.
    EXPECT_GT(distinctColours(png.string()), 20u);
}

}  // namespace
}  // namespace xloop_demo_test
