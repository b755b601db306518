// Screenshots of what a client shows.
#include <memory>
#include <string>

#include "pods/tests/pod_test_support.h"

namespace veqpod_test {
namespace {

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
