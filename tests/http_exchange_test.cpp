// HTTP exchanges against real sockets on 127.0.0.1: redirects followed alike
// on both platforms, failures logged alike, certificates checked alike, and
// cancellation that frees the requesting thread at once wherever the
// exchange is.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "config/config_file.h"
#include "runtime/http_request.h"
#include "runtime/url_access.h"
#include "testing/http_test_server.h"
#include "tests/test_support.h"
#include "tests/tls_servers.h"

using namespace xloop_test;
using XLoop::platform::HttpAnswer;
using XLoop::platform::HttpCancellation;
using XLoop::platform::HttpVerb;

namespace {

HttpRoute redirectTo(const std::string& location, int status = 302, int delayMilliseconds = 0) {
    HttpRoute route = answer(status, "", delayMilliseconds);
    route.headers = {{"Location", location}};
    return route;
}

// Runs a GET on another thread and cancels it once `started` holds; the
// exchange must still be running then, and returns with a cancelled answer.
template <class Started>
void expectCancelledWhen(const std::string& url, Started started) {
    HttpCancellation cancellation;
    HttpAnswer answer;
    std::atomic<bool> returned{false};
    std::thread exchange([&] {
        answer = XLoop::requestFollowingRedirects({url, HttpVerb::Get, 1 << 20}, cancellation);
        returned = true;
    });
    while (!started()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_FALSE(returned.load());
    cancellation.cancel();
    exchange.join();
    EXPECT_STREQ(answer.outcome.step, "HttpSendRequest");
    EXPECT_EQ(answer.outcome.code, XLoop::platform::kHttpErrorCancelled);
}

TEST(HttpExchangeTest, RedirectsAreFollowedToTheirEndAndLoopsAreRefused) {
    HttpTestServer server;
    server.setRoute("/room", answer(200, "room"));
    server.setRoute("/moved", redirectTo("/room"));
    server.setRoute("/elsewhere", redirectTo(server.url("/moved"), 308));
    server.setRoute("/loop", redirectTo("/loop"));
    server.setRoute("/ftp", redirectTo("ftp://127.0.0.1/room"));
    LogCapture log;

    EXPECT_TRUE(XLoop::IsURLAccessible(server.url("/elsewhere").c_str()));
    EXPECT_EQ(server.requestCount(), 3);
    EXPECT_TRUE(log.contains("(VEQ): Request Status: 200\n"));

    EXPECT_FALSE(XLoop::IsURLAccessible(server.url("/loop").c_str()));
    EXPECT_EQ(server.requestCount(), 3 + 1 + XLoop::kMaxRedirects);
    EXPECT_FALSE(XLoop::IsURLAccessible(server.url("/ftp").c_str()));
    EXPECT_EQ(log.lines().back(), "(VEQ): Error in HttpSendRequest: 12156\n");

    HttpCancellation never;
    // A body of exactly the limit is kept.
    HttpAnswer body = XLoop::requestFollowingRedirects({server.url("/moved"), HttpVerb::Get, 4}, never);
    EXPECT_EQ(body.status, 200);
    EXPECT_EQ(body.body, "room");
}

// The configuration read, or the error line it logs.
std::string readOrError(const std::string& url) {
    LogCapture log;
    std::string body;
    HttpCancellation never;
    if (XLoop::readURLToMemory(url.c_str(), body, never)) return body;
    return log.lines().empty() ? "" : log.lines().back();
}

TEST(HttpExchangeTest, HttpsReadsOnlyUnderATrustedCertificateForItsHostInItsDatesAndNeverFallsToHttp) {
    const TlsServers servers = readTlsServers();
    if (!servers.skipReason.empty()) GTEST_SKIP() << servers.skipReason;
    const std::string config = R"(<veqconfig><defaults killswitch="off" url="room"/></veqconfig>)";
    EXPECT_EQ(readOrError(servers.url("localhost", "/config")), config);
    EXPECT_EQ(readOrError(servers.url("elsewhere", "/config")), "(VEQ): Error in HttpSendRequest: 12038\n");
    EXPECT_EQ(readOrError(servers.url("expired", "/config")), "(VEQ): Error in HttpSendRequest: 12037\n");
    EXPECT_EQ(readOrError(servers.url("untrusted", "/config")), "(VEQ): Error in HttpSendRequest: 12045\n");

    // Whether the room answers does not hang on its certificate's name, nor on
    // Windows on its dates; libcurl cannot pass over the dates alone.
    EXPECT_TRUE(XLoop::IsURLAccessible(servers.url("elsewhere", "/config").c_str()));
#if defined(_WIN32)
    EXPECT_TRUE(XLoop::IsURLAccessible(servers.url("expired", "/config").c_str()));
#else
    EXPECT_FALSE(XLoop::IsURLAccessible(servers.url("expired", "/config").c_str()));
#endif
    EXPECT_FALSE(XLoop::IsURLAccessible(servers.url("untrusted", "/config").c_str()));

    // https is never redirected to http; to https it is.
    HttpTestServer plain;
    plain.setRoute("/config", HttpRoute{});
    EXPECT_EQ(readOrError(servers.url("localhost", "/redirect?to=" + plain.url("/config"))),
              "(VEQ): Error in HttpSendRequest: 12156\n");
    LogCapture log;
    EXPECT_FALSE(XLoop::IsURLAccessible(servers.url("elsewhere", "/redirect?to=" + plain.url("/config")).c_str()));
    EXPECT_EQ(log.lines().back(), "(VEQ): Error in HttpSendRequest: 12156\n");
    EXPECT_EQ(plain.requestCount(), 0);
    const std::string secureHop = servers.url("localhost", "/redirect?to=" + servers.url("localhost", "/config"));
    EXPECT_EQ(readOrError(secureHop).rfind("<veqconfig>", 0), 0u);
}

TEST(HttpExchangeTest, ServersThatCannotBeReachedAreLoggedInWinINetsWords) {
    LogCapture log;
    EXPECT_FALSE(XLoop::IsURLAccessible(
        ("http://127.0.0.1:" + std::to_string(HttpTestServer::closedPort()) + "/").c_str()));
    EXPECT_FALSE(XLoop::IsURLAccessible("http://no-such-host.invalid/"));
    EXPECT_FALSE(XLoop::IsURLAccessible("gopher://127.0.0.1/"));

    std::vector<std::string> errors;
    for (const auto& line : log.lines()) {
        if (line.rfind("(VEQ): Error", 0) == 0) errors.push_back(line);
    }
    EXPECT_EQ(errors, (std::vector<std::string>{
                          "(VEQ): Error in HttpSendRequest: 12029\n",
                          "(VEQ): Error in HttpSendRequest: 12007\n",
                          "(VEQ): Error in InternetOpen or InternetCrackUrl: 12006\n"}));
}

TEST(HttpExchangeTest, CancelReturnsAtOnceWhileConnectingWhileTheBodyArrivesAndInARedirectChain) {
    StalledListener listener;
    const auto start = std::chrono::steady_clock::now();
    expectCancelledWhen(listener.url("/"), [&] {
        return std::chrono::steady_clock::now() - start > std::chrono::milliseconds(200);
    });

    HttpTestServer server;
    HttpRoute slow = answer(200, std::string(100, 'x'));
    slow.dripMilliseconds = 100;  // ten seconds in all
    server.setRoute("/slow", slow);
    expectCancelledWhen(server.url("/slow"), [&] { return server.requestCount() > 0; });
    EXPECT_EQ(server.completedAnswers(), 0);  // returned long before the body's end

    server.setRoute("/hop", redirectTo("/hop", 302, 100));
    expectCancelledWhen(server.url("/hop"), [&] { return server.requestCount() >= 1 + 3; });
    // A cancelled exchange starts nothing new either.
    const int requests = server.requestCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_LE(server.requestCount(), requests + 1);
}

}  // namespace
