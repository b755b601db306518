// The reachability check against a real server on 127.0.0.1.
#include <gtest/gtest.h>

#include <memory>

#include "host/dispatcher.h"
#include "host/url_access.h"
#include "testing/http_test_server.h"
#include "testing/veqpod/veqpod_control.h"
#include "tests/recording_task.h"
#include "tests/test_support.h"
#include "xloop/xloop_client.h"

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

TEST(UrlAccessTest, OnlyStatus200CountsAsReachable) {
    HttpTestServer server;
    server.setRoute("/ok", page(200));
    server.setRoute("/empty", page(204));
    server.setRoute("/moved", page(301));
    server.setRoute("/gone", page(404));
    LogCapture log;

    EXPECT_TRUE(IsURLAccessible(server.url("/ok?cache=1").c_str()));
    EXPECT_FALSE(IsURLAccessible(server.url("/empty").c_str()));
    EXPECT_FALSE(IsURLAccessible(server.url("/moved").c_str()));
    EXPECT_FALSE(IsURLAccessible(server.url("/gone").c_str()));

    EXPECT_EQ(methodsAndTargets(server), (std::vector<std::string>{"HEAD /ok?cache=1", "HEAD /empty",
                                                                   "HEAD /moved", "HEAD /gone"}));
    EXPECT_TRUE(log.contains("(VEQ): Request Status: 200\n"));
    EXPECT_TRUE(log.contains("(VEQ): Request Status: 404\n"));
    bool agentSent = false;
    const auto requests = server.requests();
    for (const auto& header : requests.at(0).headers)
        if (header.first == "User-Agent" && header.second == "XLoopRoom") agentSent = true;
    EXPECT_TRUE(agentSent);
}

TEST(UrlAccessTest, ServerWithoutHeadIsAskedAgainWithGet) {
    HttpTestServer server;
    HttpRoute noHead = page(200);
    noHead.headNotAllowed = true;
    noHead.body = std::string(100000, 'x');
    noHead.cutShort = true;  // the body is never read, so a broken one does not matter
    server.setRoute("/room", noHead);
    HttpRoute noHeadMissing = page(404);
    noHeadMissing.headNotAllowed = true;
    server.setRoute("/missing", noHeadMissing);

    EXPECT_TRUE(IsURLAccessible(server.url("/room").c_str()));
    EXPECT_FALSE(IsURLAccessible(server.url("/missing").c_str()));
    EXPECT_EQ(methodsAndTargets(server), (std::vector<std::string>{"HEAD /room", "GET /room",
                                                                   "HEAD /missing", "GET /missing"}));
}

TEST(UrlAccessTest, PathlessAndLongURLsAreRequestedWholeAndSlowServersWaitedFor) {
    HttpTestServer server;
    HttpRoute slow = page(200);
    slow.delayMilliseconds = 300;
    server.setRoute("/", slow);
    const std::string longPath = "/" + std::string(400, 'p');
    server.setRoute(longPath, page(200));

    EXPECT_TRUE(IsURLAccessible(server.url("").c_str()));
    EXPECT_TRUE(IsURLAccessible(server.url(longPath).c_str()));
    EXPECT_EQ(methodsAndTargets(server), (std::vector<std::string>{"HEAD /", "HEAD " + longPath}));
}

TEST(UrlAccessTest, UnreachableServersAreLoggedAndNotReachable) {
    LogCapture log;
    const std::string closed = "http://127.0.0.1:" + std::to_string(HttpTestServer::closedPort()) + "/";
    EXPECT_FALSE(IsURLAccessible(closed.c_str()));
    EXPECT_FALSE(IsURLAccessible("not a url"));

    int errorLines = 0;
    for (const auto& line : log.lines()) errorLines += line.rfind("(VEQ): Error in ", 0) == 0;
    EXPECT_EQ(errorLines, 2);
}

class InitialLoadTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitializeVEQ(nullptr);
        client = CreateBrowser(nullptr, nullptr, "1");
        worker = XLoop::createWorkerThreadDispatcher();
    }
    void TearDown() override {
        worker.reset();
        veqpodDestroyClient(client);
        XLoop::destroyMainThreadDispatcher();
    }

    // Starts a check of url whose answer loads into the client; returns the
    // result task (the caller's reference).
    XLoop::URLAccessResultTask* startCheck(const std::string& url) {
        auto* result = new XLoop::URLAccessResultTaskForInitialLoad(client, url, "file:///offline.html",
                                                                   nullptr);
        auto check = XLoop::makeRef<XLoop::URLAccessCheckTask>(url, XLoop::RefPtr<XLoop::URLAccessResultTask>(result));
        worker->post(check.get());
        return result;
    }

    std::vector<veqpod::ClientCall> calls() { return veqpod::calls(client); }

    BrowserClient* client = nullptr;
    std::unique_ptr<XLoop::WorkerThreadDispatcher> worker;
};

TEST_F(InitialLoadTest, AnswerLoadsTheRoomOrTheOfflinePage) {
    HttpTestServer server;
    server.setRoute("/room", answer(200));
    LogCapture log;
    const std::string room = server.url("/room");
    const std::string offline = server.url("/gone");

    XLoop::URLAccessResultTask* first = startCheck(room);
    XLoop::URLAccessResultTask* second = startCheck(offline);
    ASSERT_TRUE(runUiTasksUntil([&] { return calls().size() == 2; }));
    first->release();
    second->release();

    EXPECT_EQ(calls(), (std::vector<veqpod::ClientCall>{{"loadURL", room},
                                                        {"loadURL", "file:///offline.html"}}));
    EXPECT_TRUE(log.contains("(VEQ): Checking if URL " + room + " is accessible"));
    EXPECT_TRUE(log.contains("(VEQ): URL " + room + " accessibility result: 1"));
    EXPECT_TRUE(log.contains("(VEQ): URL " + room + " is accessible"));
    EXPECT_TRUE(log.contains("(VEQ): URL " + offline + " accessibility result: 0"));
    EXPECT_TRUE(log.contains("(VEQ): URL " + offline + " is not accessible"));
}

TEST_F(InitialLoadTest, CancelledAnswerLoadsNothing) {
    HttpTestServer server;
    HttpRoute slow = answer(200);
    slow.delayMilliseconds = 200;
    server.setRoute("/room", slow);
    TaskEvents events;

    XLoop::URLAccessResultTask* result = startCheck(server.url("/room"));
    result->cancel();  // what the browser's destroy notifier does
    result->release();
    auto* afterCheck = new RecordingTask("after check", events);
    worker->post(afterCheck);
    afterCheck->release();

    ASSERT_TRUE(events.waitFor("after check deleted"));
    runPendingUiTasks();
    EXPECT_EQ(server.requestCount(), 1);
    EXPECT_TRUE(calls().empty());
}

}  // namespace
