// The reachability check against a real server on 127.0.0.1.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "runtime/dispatcher.h"
#include "runtime/url_access.h"
#include "testing/http_test_server.h"
#include "tests/recording_task.h"
#include "tests/test_support.h"

using namespace xloop_test;
using XLoop::IsURLAccessible;

namespace {

HttpRoute page(int status) {
    return answer(status, "<html>room</html>");
}

std::vector<std::string> methodsAndTargets(const HttpTestServer& server) {
    std::vector<std::string> seen;
    for (const auto& request : server.requests()) seen.push_back(request.method + " " + request.target);
    return seen;
}

TEST(UrlAccessTest, FileURLsAreReachableWithoutAnyRequest) {
    LogCapture log;
    EXPECT_TRUE(IsURLAccessible("file:///no/such/offline.html"));
    EXPECT_TRUE(IsURLAccessible("FILE:///C:/room/xLoop_Offline.html"));
    EXPECT_EQ(log.lines().size(), 2u);  // the two "Calling" lines, nothing sent
}

TEST(UrlAccessTest, OnlyStatus200CountsAsReachableWhateverThePathOrTheWait) {
    HttpTestServer server;
    server.setRoute("/ok", page(200));
    server.setRoute("/empty", page(204));
    server.setRoute("/moved", page(301));
    server.setRoute("/gone", page(404));
    // Pathless and long URLs are requested whole, and slow servers waited for.
    server.setRoute("/", answer(200, "<html>room</html>", 300));
    const std::string longPath = "/" + std::string(400, 'p');
    server.setRoute(longPath, page(200));
    LogCapture log;

    EXPECT_TRUE(IsURLAccessible(server.url("/ok?cache=1").c_str()));
    EXPECT_FALSE(IsURLAccessible(server.url("/empty").c_str()));
    EXPECT_FALSE(IsURLAccessible(server.url("/moved").c_str()));
    EXPECT_FALSE(IsURLAccessible(server.url("/gone").c_str()));
    EXPECT_TRUE(IsURLAccessible(server.url("").c_str()));
    EXPECT_TRUE(IsURLAccessible(server.url(longPath).c_str()));

    EXPECT_EQ(methodsAndTargets(server), (std::vector<std::string>{"HEAD /ok?cache=1", "HEAD /empty", "HEAD /moved",
                                                                   "HEAD /gone", "HEAD /", "HEAD " + longPath}));
    EXPECT_TRUE(log.contains("(VEQ): Request Status: 200\n"));
    EXPECT_TRUE(log.contains("(VEQ): Request Status: 404\n"));
    bool agentSent = false;
    const auto requests = server.requests();
    for (const auto& header : requests.at(0).headers)
        if (header.first == "User-Agent" && header.second == "XLoopRoom") agentSent = true;
    EXPECT_TRUE(agentSent);
}

TEST(UrlAccessTest, AnAddressTwoParsersReadTwoWaysIsNotAsked) {
    HttpTestServer server;
    server.setRoute("/", page(200));
    const std::string hidden = server.url("\\@localhost:1/");
    LogCapture log;
    EXPECT_FALSE(IsURLAccessible(hidden.c_str()));
    EXPECT_TRUE(server.requests().empty());
    EXPECT_TRUE(log.contains("(VEQ): Not checking " + hidden + ": it holds a backslash"));
}

TEST(UrlAccessTest, ServerWithoutHeadIsAskedAgainWithGet) {
    HttpTestServer server;
    HttpRoute noHead = page(200);
    noHead.headStatus = 405;
    noHead.body = std::string(100000, 'x');
    noHead.cutShort = true;  // the body is never read, so a broken one does not matter
    server.setRoute("/room", noHead);
    HttpRoute noHeadMissing = page(404);
    noHeadMissing.headStatus = 501;
    server.setRoute("/missing", noHeadMissing);
    HttpRoute headUnknown = page(200);
    headUnknown.headStatus = 501;
    server.setRoute("/unknown", headUnknown);

    EXPECT_TRUE(IsURLAccessible(server.url("/room").c_str()));
    EXPECT_FALSE(IsURLAccessible(server.url("/missing").c_str()));
    EXPECT_TRUE(IsURLAccessible(server.url("/unknown").c_str()));
    EXPECT_EQ(methodsAndTargets(server),
              (std::vector<std::string>{"HEAD /room", "GET /room", "HEAD /missing", "GET /missing", "HEAD /unknown",
                                        "GET /unknown"}));
}

// The scheme decides whether the connection is secured, whatever the port: a
// plain server's port asked with https gets a TLS handshake, no request.
TEST(UrlAccessTest, TheSchemeNotThePortDecidesOnTls) {
    HttpTestServer server;
    server.setRoute("/room", page(200));
    const std::string plain = server.url("/room");
    const std::string secured = "https" + plain.substr(plain.find(':'));
    EXPECT_FALSE(IsURLAccessible(secured.c_str()));
    EXPECT_TRUE(IsURLAccessible(plain.c_str()));
    EXPECT_EQ(methodsAndTargets(server), (std::vector<std::string>{"HEAD /room"}));
}

// A cancelled check lets go of its connection at once: the worker is free for
// the next task while the server still keeps its answer back.
TEST(UrlAccessTest, ACancelledCheckFreesItsWorkerAndItsConnection) {
    struct NoResult : XLoop::URLAccessResultTask {
        void run() override {}
    };
    HttpTestServer server;
    server.setRoute("/room", answer(200, "", 120000));
    TaskEvents events;
    auto worker = XLoop::createWorkerThreadDispatcher();
    auto check = XLoop::makeRef<XLoop::URLAccessCheckTask>(server.url("/room"), XLoop::makeRef<NoResult>());
    auto* next = new RecordingTask("next", events);
    worker->post(check.get());
    worker->post(next);
    next->release();
    while (server.requestCount() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    check->cancel();
    EXPECT_TRUE(events.waitFor("next ran"));
    EXPECT_EQ(server.completedAnswers(), 0);
    // The worker lets go of its tasks on its own thread: it ends before the events it records into.
    worker->quitAndWait(std::chrono::seconds(30));
}

}  // namespace
