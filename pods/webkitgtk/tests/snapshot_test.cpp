// Screenshots of what a client shows.
#include <cairo.h>

#include <memory>
#include <set>
#include <string>

#include "pods/webkitgtk/tests/pod_test_support.h"

namespace veqpod_test {
namespace {

struct SnapshotOutcome {
    bool done = false;
    int saved = 0;
};

void noteSnapshot(int saved, void* context) {
    auto* outcome = static_cast<SnapshotOutcome*>(context);
    outcome->done = true;
    outcome->saved = saved;
}

struct PixelSummary {
    int width = 0;
    int height = 0;
    long pixelsOfColour = 0;
    size_t distinctColours = 0;
};

// Counts the pixels of one RGB colour and the colours seen in a PNG file.
PixelSummary summarise(const std::string& pngPath, uint32_t rgb) {
    PixelSummary summary;
    cairo_surface_t* image = cairo_image_surface_create_from_png(pngPath.c_str());
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(image);
        return summary;
    }
    summary.width = cairo_image_surface_get_width(image);
    summary.height = cairo_image_surface_get_height(image);
    int stride = cairo_image_surface_get_stride(image);
    const unsigned char* data = cairo_image_surface_get_data(image);
    std::set<uint32_t> colours;
    for (int y = 0; y < summary.height; ++y) {
        auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
        for (int x = 0; x < summary.width; ++x) {
            uint32_t colour = row[x] & 0xFFFFFF;
            colours.insert(colour);
            if (colour == rgb) summary.pixelsOfColour++;
        }
    }
    summary.distinctColours = colours.size();
    cairo_surface_destroy(image);
    return summary;
}

class SnapshotTest : public PodTest {
protected:
    xloop_test::HttpTestServer server;
    std::shared_ptr<RecordingLoadHandler> loads = std::make_shared<RecordingLoadHandler>();
    TempFolder folder;
};

TEST_F(SnapshotTest, APageIsSavedAsAPngThatShowsIt) {
    server.setRoute("/room", htmlPage(
        "<body style='margin:0;background:rgb(200,30,60)'>"
        "<div style='margin:40px;width:200px;height:100px;background:white'>room</div></body>"));
    std::string url = server.url("/room");
    BrowserClient* client = createClient(url);
    ASSERT_NE(client, nullptr);
    client->setPageLoadHandler(loads);
    ASSERT_TRUE(runUntil([&] { return loads->saw("finished " + url); }));
    std::string pngPath = (folder.path() / "room.png").string();
    SnapshotOutcome outcome;

    VEQPodSaveSnapshot(client, pngPath.c_str(), noteSnapshot, &outcome);

    ASSERT_TRUE(runUntil([&] { return outcome.done; }));
    ASSERT_EQ(outcome.saved, 1);
    PixelSummary summary = summarise(pngPath, 0xC81E3C);
    EXPECT_GT(summary.width, 0);
    EXPECT_GT(summary.height, 0);
    EXPECT_GT(summary.pixelsOfColour, static_cast<long>(summary.width) * summary.height / 2);
    EXPECT_GE(summary.distinctColours, 2u);
}

TEST_F(SnapshotTest, AnUnknownClientSavesNothing) {
    BrowserClient* client = createClient("about:blank");
    ASSERT_NE(client, nullptr);
    VEQPodDestroyBrowserClient(client);
    std::string pngPath = (folder.path() / "none.png").string();
    SnapshotOutcome outcome;

    VEQPodSaveSnapshot(client, pngPath.c_str(), noteSnapshot, &outcome);

    EXPECT_TRUE(outcome.done);
    EXPECT_EQ(outcome.saved, 0);
    EXPECT_FALSE(std::filesystem::exists(pngPath));
}

}  // namespace
}  // namespace veqpod_test
