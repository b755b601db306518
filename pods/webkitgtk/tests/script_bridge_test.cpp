// Real pages invoking actions through window.veq, and scripts run from the
// host side.
#include <memory>
#include <string>

#include "pods/webkitgtk/tests/pod_test_support.h"

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
    // A client with the handlers registered, showing a page with this script.
    BrowserClient* openPage(const std::string& script) {
        server.setRoute("/page", htmlPage("<title>bridge</title><script>" + script + "</script>"));
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

    xloop_test::HttpTestServer server;
    std::shared_ptr<RecordingLoadHandler> loads = std::make_shared<RecordingLoadHandler>();
    RecordingActionHandler echo{R"({"answer":"42"})"};
    RecordingActionHandler report;
};

TEST_F(ScriptBridgeTest, AnInvocationReachesItsHandlerAndResolvesToTheReplyObject) {
    ASSERT_NE(openPage(R"js(
        window.veq.invoke("echo", {a: "b"})
          .then((reply) => window.veq.invoke("report", {answer: reply.answer}));
    )js"),
              nullptr);

    ASSERT_TRUE(reported(1));
    ASSERT_EQ(echo.invocations.size(), 1u);
    EXPECT_EQ(echo.invocations[0].actionName, "echo");
    EXPECT_EQ(echo.invocations[0].argument, R"({"a":"b"})");
    EXPECT_EQ(report.invocations[0].actionName, "report");
    EXPECT_EQ(report.invocations[0].argument, R"({"answer":"42"})");
}

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
    EXPECT_EQ(mirror.invocations[0].argument, expected);
    EXPECT_EQ(report.invocations[0].argument, expected.substr(0, expected.size() - 1) + ",\"same\":\"true\"}");
}

TEST_F(ScriptBridgeTest, AnActionWithoutHandlerRejectsThePromise) {
    ASSERT_NE(openPage(R"js(
        window.veq.invoke("nobody", {})
          .then(() => window.veq.invoke("report", {outcome: "resolved"}),
                (error) => window.veq.invoke("report", {outcome: String(error)}));
    )js"),
              nullptr);

    ASSERT_TRUE(reported(1));
    const std::string& outcome = report.invocations[0].argument;
    EXPECT_NE(outcome.find("no handler for action nobody"), std::string::npos) << outcome;
}

TEST_F(ScriptBridgeTest, ScriptsRunInTheCurrentPageAsyncOnesIncluded) {
    BrowserClient* client = openPage("");
    ASSERT_NE(client, nullptr);

    client->executeScript("window.veq.invoke('report', {title: document.title});");
    ASSERT_TRUE(reported(1));
    client->executeScript(R"js((async () => {
        await window.veq.invoke("report", {step: "one"});
        await window.veq.invoke("report", {step: "two"});
    })())js");

    ASSERT_TRUE(reported(3));
    EXPECT_EQ(report.invocations[0].argument, R"({"title":"bridge"})");
    EXPECT_EQ(report.invocations[1].argument, R"({"step":"one"})");
    EXPECT_EQ(report.invocations[2].argument, R"({"step":"two"})");
}

TEST_F(ScriptBridgeTest, ZoomScalesThePage) {
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
}

}  // namespace
}  // namespace veqpod_test
