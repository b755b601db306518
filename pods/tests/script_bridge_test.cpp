// Real pages invoking actions through window.veq, and scripts run from the
// host side.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "pods/tests/pod_test_support.h"

namespace veqpod_test {
namespace {

// Replies with the very text it received.
class EchoingActionHandler : public RecordingActionHandler {
public:
    void handleAction(const char* actionName, const char* argument, char** result) override {
        reply = argument;
        RecordingActionHandler::handleAction(actionName, argument, result);
    }
};

class ScriptBridgeTest : public PodTest {
protected:
    // A client with the handlers registered, showing a page with this markup
    // and script.
    BrowserClient* openPage(const std::string& script, const std::string& markup = "") {
        const std::string body = markup + "<script>" + script + "</script>";
        server.setRoute("/page", htmlPage("<title>bridge</title>" + body));
        BrowserClient* client = createClient("about:blank");
        if (client == nullptr) return nullptr;
        client->setPageLoadHandler(loads);
        client->registerActionHandler("echo", &echo);
        client->registerActionHandler("report", &report);
        std::string url = server.url("/page");
        client->loadURL(url.c_str());
        if (!runUntil([&] { return loads->saw("finished " + url); })) return nullptr;
        return client;
    }
    bool reported(size_t count) {
        return runUntil([&] { return report.invocations.size() >= count; });
    }
    // What a page sent to origin as the query of a request for path.
    std::string sentTo(const xloop_test::HttpTestServer& origin, const std::string& path) {
        std::string query;
        runUntil([&] {
            for (const xloop_test::HttpRequestRecord& request : origin.requests()) {
                const std::string& target = request.target;
                if (target.rfind(path + "?", 0) == 0) query = target.substr(path.size() + 1);
            }
            return !query.empty();
        });
        return query;
    }

    xloop_test::HttpTestServer server;
    // The same host on another port: another origin.
    xloop_test::HttpTestServer otherOrigin;
    std::shared_ptr<RecordingLoadHandler> loads = std::make_shared<RecordingLoadHandler>();
    RecordingActionHandler echo{R"({"answer":"42"})"};
    RecordingActionHandler report;
};

TEST_F(ScriptBridgeTest, ArgumentsArriveAsTheJsonTextOfAnObjectOfTexts) {
    ASSERT_NE(openPage(R"js(
        window.veq.invoke("report",
                          {value: "v", key: "k", Key: "K", count: 3, on: true, none: undefined});
    )js"),
              nullptr);

    ASSERT_TRUE(reported(1));
    EXPECT_EQ(report.invocations[0].argument,
              R"({"value":"v","key":"k","Key":"K","count":"3","on":"true"})");
}

TEST_F(ScriptBridgeTest, HardTextsSurviveTheWayToTheHandlerAndBack) {
    EchoingActionHandler mirror;
    BrowserClient* client = openPage("");
    ASSERT_NE(client, nullptr);
    client->registerActionHandler("mirror", &mirror);

    client->executeScript(R"js(
        const text = "quote \" backslash \\ slash / é 日本 😀 tab\t line\n ctrl\u0001 end";
        window.veq.invoke("mirror", {text})
          .then((reply) =>
                window.veq.invoke("report", {text: reply.text, same: reply.text === text}));
    )js");

    ASSERT_TRUE(reported(1));
    const std::string expected =
        "{\"text\":\"quote \\\" backslash \\\\ slash / \xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC "
        "\xF0\x9F\x98\x80 tab\\t line\\n ctrl\\u0001 end\"}";
    ASSERT_EQ(mirror.invocations.size(), 1u);
    EXPECT_EQ(mirror.invocations[0].actionName, "mirror");
    EXPECT_EQ(mirror.invocations[0].argument, expected);
    EXPECT_EQ(report.invocations[0].argument, expected.substr(0, expected.size() - 1) + ",\"same\":\"true\"}");
}

TEST_F(ScriptBridgeTest, AFrameOfAnotherOriginReachesNoAction) {
    // Every way in that a frame might try; each outcome is sent home.
    otherOrigin.setRoute("/frame", htmlPage(R"(<script>
        const outcomes = [];
        const attempt = (way, call) => {
          try {
            const result = call();
            outcomes.push(way + ":" + typeof result);
            if (result instanceof Promise) result.catch(() => {});
          } catch (error) {
            outcomes.push(way + ":threw");
          }
        };
        const call = JSON.stringify({id: 1, name: "report", args: "{}"});
        attempt("handler", () => )" + std::string(kPageChannelCall) + R"();
        attempt("own", () => window.veq.invoke("report", {}));
        attempt("top", () => top.veq.invoke("report", {}));
        attempt("event",
                () => document.dispatchEvent(new CustomEvent("veq-invoke", {detail: call})));
        attempt("topEvent",
                () => top.document.dispatchEvent(new CustomEvent("veq-invoke", {detail: call})));
        new Image().src = "/tried?" + outcomes.join(",");
    </script>)"));
    BrowserClient* client =
        openPage("", "<iframe src=\"" + otherOrigin.url("/frame") + "\"></iframe>");
    ASSERT_NE(client, nullptr);

    EXPECT_EQ(sentTo(otherOrigin, "/tried"),
              "handler:threw,own:threw,top:threw,event:boolean,topEvent:threw");
    // The room's own call comes after whatever the frame managed to send.
    client->executeScript("window.veq.invoke('report', {from: 'room'});");
    ASSERT_TRUE(reported(1));
    ASSERT_EQ(report.invocations.size(), 1u);
    EXPECT_EQ(report.invocations[0].argument, R"({"from":"room"})");
}

TEST_F(ScriptBridgeTest, APageOfAnotherOriginHasNoBridgeAndItsCallsAreRefusedUntilTheRoomIsBack) {
    otherOrigin.setRoute("/away", htmlPage(R"(<script>
        new Image().src = "/seen-" + location.search.slice(1) + "?" + typeof window.veq + "," +
                          typeof ()" + std::string(kPageChannel) + R"();
    </script>)"));
    std::string room = server.url("/page");
    auto roomShows = [&](long times) {
        return runUntil([&] {
            const std::vector<std::string>& events = loads->events;
            return std::count(events.begin(), events.end(), "finished " + room) == times;
        });
    };
    BrowserClient* client =
        openPage("", "<a id=\"away\" href=\"" + otherOrigin.url("/away?link") + "\">away</a>");
    ASSERT_NE(client, nullptr);

    client->executeScript("document.getElementById('away').click();");
    EXPECT_EQ(sentTo(otherOrigin, "/seen-link"), "undefined,undefined");
    // As if the page had found its way into the library's own script world.
    const std::string refusal = callFromLibraryWorld();
    EXPECT_NE(refusal.find("refused"), std::string::npos) << refusal;
    goBack();
    ASSERT_TRUE(roomShows(2));
    client->executeScript("window.veq.invoke('report', {back: 'yes'});");
    ASSERT_TRUE(reported(1));

    std::string away = otherOrigin.url("/away?script");
    client->executeScript(("location.href = '" + away + "';").c_str());
    ASSERT_TRUE(runUntil([&] { return loads->saw("finished " + away); }));
    EXPECT_EQ(sentTo(otherOrigin, "/seen-script"), "undefined,undefined");
    client->loadURL(room.c_str());
    ASSERT_TRUE(roomShows(3));
    client->executeScript("window.veq.invoke('report', {loaded: 'again'});");
    ASSERT_TRUE(reported(2));
    EXPECT_EQ(report.invocations[0].argument, R"({"back":"yes"})");
    EXPECT_EQ(report.invocations[1].argument, R"({"loaded":"again"})");
}

TEST_F(ScriptBridgeTest, TheOwnedPageIsTheOneTheEngineLoadsAndOnlyItRunsTheOwnersScripts) {
    // WebKit reads this as 127.0.0.1 on the server's port, the rest as a path;
    // Qt WebEngine as localhost on the other's port. Either page is owned, and
    // the away page is of a third origin in both readings.
    const std::string path = "/@localhost:" + std::to_string(otherOrigin.port()) + "/page";
    const xloop_test::HttpRoute owned = htmlPage("<script>window.veq.invoke('report', {});</script>");
    server.setRoute(path, owned);
    otherOrigin.setRoute("/page", owned);
    server.setRoute("/away", htmlPage("<script>new Image().src = '/seen?' + typeof window.veq;</script>"));
    const std::string away = "http://localhost:" + std::to_string(server.port()) + "/away";
    BrowserClient* client = createClient("about:blank");
    ASSERT_NE(client, nullptr);
    client->registerActionHandler("report", &report);
    client->setPageLoadHandler(loads);

    client->loadURL(("http://127.0.0.1:" + std::to_string(server.port()) + "\\" + path.substr(1)).c_str());
    ASSERT_TRUE(reported(1));
    {
        // On its way to another origin: no script may race that page's commit.
        CapturedStderr log;
        navigateView(away);
        ASSERT_TRUE(runUntil([&] { return loads->saw("started " + away); }));
        client->executeScript("new Image().src = '/ran';");
        EXPECT_TRUE(log.awaitLine("VEQPod: dropped a script for " + away));
    }
    EXPECT_EQ(sentTo(server, "/seen"), "undefined");
    CapturedStderr log;
    client->executeScript("new Image().src = '/ran';");
    EXPECT_TRUE(log.awaitLine("VEQPod: dropped a script for " + away));
    for (const xloop_test::HttpRequestRecord& request : server.requests()) {
        EXPECT_NE(request.target, "/ran");
    }
}

TEST_F(ScriptBridgeTest, AFailedScriptIsNamedBesideWhereItFailed) {
    BrowserClient* client = openPage("function initXLoopRoom(text) {\n  text.missing.call();\n}");
    ASSERT_NE(client, nullptr);
    const std::string page = server.url("/page");

    CapturedStderr log;
    client->executeScript("onRetryComplete();");
    const std::string payload(100, 'x');
    client->executeScript(("initXLoopRoom(\"" + payload + "\");").c_str());
    // The engine's own words for the error (and a column where it gives one)
    // between where and what ran.
    EXPECT_TRUE(log.awaitLineWith({"onRetryComplete", " (running onRetryComplete();)"}));
    EXPECT_TRUE(log.awaitLineWith({page + ":2:", " TypeError: ",
                                   " (running initXLoopRoom(\\\"" + payload.substr(0, 49) + "...)"}));
}

// What an installed observer was told, one line per report.
std::vector<std::string> observed;

void observeScript(void*, BrowserClient*, const char* page, const char* script) {
    observed.push_back(std::string("script ") + script + " on " + page);
}

void observeAction(void*, BrowserClient*, const char* page, const char* name, const char* arguments,
                   const char* outcome, int served) {
    observed.push_back(std::string(served ? "served " : "refused ") + name + " " + arguments + " " +
                       outcome + " on " + page);
}

TEST_F(ScriptBridgeTest, TheObserverHearsScriptsRepliesAndRefusalsWithoutChangingThem) {
    const VEQPodObserver observer{observeScript, observeAction, nullptr};
    VEQPodSetObserver(&observer);
    observed.clear();
    BrowserClient* client = openPage("");
    ASSERT_NE(client, nullptr);
    const std::string page = server.url("/page");

    const std::string script = R"js(window.veq.invoke("nope", {}).catch((e) =>
        window.veq.invoke("echo", {got: e.message}).then((r) => window.veq.invoke("report", r)));)js";
    client->executeScript(script.c_str());
    ASSERT_TRUE(reported(1));
    VEQPodSetObserver(nullptr);
    client->executeScript("window.veq.invoke('report', {});");
    ASSERT_TRUE(reported(2));

    EXPECT_EQ(report.invocations[0].argument, R"({"answer":"42"})");
    EXPECT_EQ(observed, (std::vector<std::string>{
                            "script " + script + " on " + page,
                            "refused nope {} no handler for action nope on " + page,
                            R"(served echo {"got":"no handler for action nope"} {"answer":"42"} on )" + page,
                            R"(served report {"answer":"42"} {} on )" + page}));
}

TEST_F(ScriptBridgeTest, ZoomScalesThePageAndIsRefusedForBadScalesAndUnknownClients) {
    BrowserClient* client = openPage("");
    ASSERT_NE(client, nullptr);
    const char* reportWidth = "window.veq.invoke('report', {width: innerWidth});";
    client->executeScript(reportWidth);
    ASSERT_TRUE(reported(1));

    ASSERT_EQ(UpdateBrowserClientZoomScale(client, 2.0), 1);
    client->executeScript(reportWidth);
    ASSERT_TRUE(reported(2));

    auto width = [&](size_t index) {
        const std::string& argument = report.invocations[index].argument;  // {"width":"N"}
        return std::stoi(argument.substr(10));
    };
    EXPECT_NEAR(width(1), width(0) / 2.0, 1.0);

    // Scales not above zero, and clients no longer alive, are refused.
    EXPECT_EQ(UpdateBrowserClientZoomScale(client, 0.0), 0);
    EXPECT_EQ(UpdateBrowserClientZoomScale(client, -1.0), 0);
    VEQPodDestroyBrowserClient(client);
    EXPECT_EQ(UpdateBrowserClientZoomScale(client, 1.5), 0);
}

}  // namespace
}  // namespace veqpod_test
