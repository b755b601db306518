// Servers that misbehave: silent after accepting, reset in the middle of a
// body, or answering one byte at a time. Every case ends, with a clear line.
#include <gtest/gtest.h>

#include "config/config_file.h"
#include "runtime/http_request.h"
#include "runtime/url_access.h"
#include "testing/http_test_server.h"
#include "tests/test_support.h"
#include "tests/wine.h"

using namespace xloop_test;

namespace {

class NetworkFaultTest : public ::testing::Test {
protected:
    void SetUp() override { XLoop::g_httpTimeout = std::chrono::milliseconds(300); }
    void TearDown() override {
        XLoop::g_httpTimeout = std::chrono::milliseconds(60000);
        XLoop::g_httpDeadline = std::chrono::minutes(5);
    }

    bool readConfig(const std::string& path) {
        std::string killswitch, url, serverurl;
        XLoop::platform::HttpCancellation never;
        return XLoop::readConfigFile(server.url(path).c_str(), "p", "1", "en_us", killswitch, url, serverurl, never);
    }

    HttpTestServer server;
    std::string config = "<veqconfig><defaults killswitch=\"off\" url=\"" + std::string(200, 'u') + "\"/></veqconfig>";
};

TEST_F(NetworkFaultTest, ASilentServerTimesOut) {
    server.setRoute("/silent", answer(200, "", 60000));
    LogCapture log;
    EXPECT_FALSE(XLoop::IsURLAccessible(server.url("/silent").c_str()));
    EXPECT_FALSE(readConfig("/silent"));
    // Wine's WinINet reports a receive time-out as an aborted connection.
    const char* timedOut = runningUnderWine() ? "12030" : "12002";
    EXPECT_EQ(log.lines().back(), std::string("(VEQ): Error in HttpSendRequest: ") + timedOut + "\n");
}

TEST_F(NetworkFaultTest, AConnectionResetInTheBodyIsAFailedRead) {
    HttpRoute reset = answer(200, config);
    reset.resetMidBody = true;
    server.setRoute("/reset", reset);
    LogCapture log;
    EXPECT_FALSE(readConfig("/reset"));
    const std::string line = log.lines().back();
    // Wine's WinINet now and then passes the socket's own WSAECONNRESET through.
    if (runningUnderWine() && line == "(VEQ): Error in InternetReadFile: 10054\n") return;
    EXPECT_EQ(line.rfind("(VEQ): Error in InternetReadFile: 1203", 0), 0u) << line;
}

TEST_F(NetworkFaultTest, ASlowButSteadyServerIsReadWholeWithinTheDeadline) {
    HttpRoute slow = answer(200, config);
    slow.dripMilliseconds = 2;
    server.setRoute("/slow", slow);
    EXPECT_TRUE(readConfig("/slow"));

    // Never silent for the receive time-out, yet slower than a whole request may take.
    slow.dripMilliseconds = 20;
    server.setRoute("/slower", slow);
    XLoop::g_httpDeadline = std::chrono::milliseconds(1000);
    LogCapture log;
    EXPECT_FALSE(readConfig("/slower"));
    EXPECT_EQ(log.lines().back(), "(VEQ): Error in InternetReadFile: 12002\n");

    // Each hop of a redirect chain well inside the deadline, the chain past it.
    XLoop::g_httpTimeout = std::chrono::milliseconds(5000);
    for (int hop = 0; hop < 4; ++hop) {
        HttpRoute redirect = answer(302, "", 400);
        redirect.headers = {{"Location", "/hop" + std::to_string(hop + 1)}};
        server.setRoute("/hop" + std::to_string(hop), redirect);
    }
    server.setRoute("/hop4", answer(200, config));
    EXPECT_FALSE(readConfig("/hop0"));
}

}  // namespace
