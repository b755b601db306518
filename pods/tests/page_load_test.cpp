// Load events of real pages served over the loopback.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "pods/tests/pod_test_support.h"

namespace veqpod_test {
namespace {

using Events = std::vector<std::string>;

class PageLoadTest : public PodTest {
protected:
    xloop_test::HttpTestServer server;
    std::shared_ptr<RecordingLoadHandler> handler = std::make_shared<RecordingLoadHandler>();
};

TEST_F(PageLoadTest, AServedPageStartsThenFinishesWithItsUrl) {
    server.setRoute("/room", htmlPage("<title>room</title><p>room</p>"));
    std::string url = server.url("/room");
    BrowserClient* client = createClient("about:blank");
    ASSERT_NE(client, nullptr);
    ASSERT_TRUE(client->setPageLoadHandler(handler));
    ASSERT_TRUE(runUntil([&] { return handler->saw("finished about:blank"); }));

    client->loadURL(url.c_str());

    ASSERT_TRUE(runUntil([&] { return handler->saw("finished " + url); }));
    EXPECT_EQ(handler->events, (Events{"started about:blank", "finished about:blank",
                                       "started " + url, "finished " + url}));
}

TEST_F(PageLoadTest, AFailedPageReportsItsUrlAndNoFinish) {
    server.setRoute("/offline", htmlPage("<p>offline</p>"));
    std::string unreachable =
        "http://127.0.0.1:" + std::to_string(xloop_test::HttpTestServer::closedPort()) + "/room";
    std::string offline = server.url("/offline");
    BrowserClient* client = createClient(unreachable);
    ASSERT_NE(client, nullptr);
    ASSERT_TRUE(client->setPageLoadHandler(handler));
    // As the module does: fall back to another page from within the failure.
    handler->afterFailure = [&] { client->loadURL(offline.c_str()); };

    ASSERT_TRUE(runUntil([&] { return handler->saw("finished " + offline); }));
    EXPECT_EQ(handler->events, (Events{"started " + unreachable, "failed " + unreachable,
                                       "started " + offline, "finished " + offline}));
}

TEST_F(PageLoadTest, ALoadReplacedByANewerOneReportsNoFailure) {
    xloop_test::HttpRoute slow = htmlPage("<p>slow</p>");
    slow.delayMilliseconds = 30000;
    server.setRoute("/slow", slow);
    server.setRoute("/fast", htmlPage("<p>fast</p>"));
    std::string slowUrl = server.url("/slow");
    std::string fastUrl = server.url("/fast");
    BrowserClient* client = createClient(slowUrl);
    ASSERT_NE(client, nullptr);
    ASSERT_TRUE(client->setPageLoadHandler(handler));
    ASSERT_TRUE(runUntil([&] { return handler->saw("started " + slowUrl); }));
    ASSERT_TRUE(runUntil([&] { return server.requestCount() == 1; }));

    client->loadURL(fastUrl.c_str());

    ASSERT_TRUE(runUntil([&] { return handler->saw("finished " + fastUrl); }));
    EXPECT_EQ(handler->events,
              (Events{"started " + slowUrl, "started " + fastUrl, "finished " + fastUrl}));
}

// The page goes on its own: each start names the page being loaded, and the
// load it cuts short is no failure (the module would show its offline page).
// Chromium tells neither the cut-short load nor the end of a page that left
// during its own load; WebKit tells both.
TEST_F(PageLoadTest, APagesOwnNavigationsStartWithTheirOwnAddresses) {
    xloop_test::HttpRoute slow = htmlPage("<p>slow</p>");
    slow.delayMilliseconds = 30000;
    server.setRoute("/slow", slow);
    server.setRoute("/next", htmlPage("<p>next</p>"));
    // Once loaded: a move while the page loads is a redirect of its load to Chromium.
    server.setRoute("/start", htmlPage("<script>onload = () => setTimeout(() => { location.href = '/slow';"
                                       "setTimeout(() => { location.href = '/next'; }, 1000); });</script>"));
    BrowserClient* client = createClient("about:blank");
    ASSERT_NE(client, nullptr);
    ASSERT_TRUE(client->setPageLoadHandler(handler));
    ASSERT_TRUE(runUntil([&] { return handler->saw("finished about:blank"); }));
    handler->events.clear();

    client->loadURL(server.url("/start").c_str());

    ASSERT_TRUE(runUntil([&] { return handler->saw("finished " + server.url("/next")); }));
    const Events all{"started " + server.url("/start"), "finished " + server.url("/start"),
                     "started " + server.url("/slow"), "started " + server.url("/next"),
                     "finished " + server.url("/next")};
    // The events are those of all, in its order, each once, with both ends.
    auto next = all.begin();
    for (const std::string& event : handler->events) {
        next = std::find(next, all.end(), event);
        ASSERT_NE(next, all.end()) << event << " out of place";
        ++next;
    }
    EXPECT_EQ(handler->events.front(), all.front());
    EXPECT_TRUE(handler->saw(all[3]));
    EXPECT_EQ(handler->events.back(), all.back());
}

// A move the page makes while it still loads is a redirect of that load to
// Chromium: the page was shown all the same, so it finishes, and the move starts.
TEST_F(PageLoadTest, AMoveWhileThePageLoadsFinishesItAndStartsTheMove) {
    xloop_test::HttpRoute slow = htmlPage("<p>slow</p>");
    slow.delayMilliseconds = 30000;
    server.setRoute("/slow", slow);
    server.setRoute("/next", htmlPage("<p>next</p>"));
    server.setRoute("/start", htmlPage("<script>location.href = '/slow';"
                                       "setTimeout(() => { location.href = '/next'; }, 1000);</script>"));
    BrowserClient* client = createClient(server.url("/start"));
    ASSERT_NE(client, nullptr);
    ASSERT_TRUE(client->setPageLoadHandler(handler));

    ASSERT_TRUE(runUntil([&] { return handler->saw("finished " + server.url("/next")); }));
    EXPECT_EQ(handler->events, (Events{"started " + server.url("/start"), "finished " + server.url("/start"),
                                       "started " + server.url("/slow"), "started " + server.url("/next"),
                                       "finished " + server.url("/next")}));
}

// The download is refused, so nothing shows: the load failed.
TEST_F(PageLoadTest, ALoadThatTurnsIntoADownloadFails) {
    xloop_test::HttpRoute file = htmlPage("#!/bin/sh");
    file.headers = {{"Content-Type", "text/plain"}, {"Content-Disposition", "attachment; filename=\"x.sh\""}};
    server.setRoute("/x.sh", file);
    const std::string url = server.url("/x.sh");
    BrowserClient* client = createClient(url);
    ASSERT_NE(client, nullptr);
    ASSERT_TRUE(client->setPageLoadHandler(handler));

    ASSERT_TRUE(runUntil([&] { return handler->saw("failed " + url); }));
    EXPECT_EQ(handler->events, (Events{"started " + url, "failed " + url}));
}

}  // namespace
}  // namespace veqpod_test
