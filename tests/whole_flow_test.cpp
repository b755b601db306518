// The whole flow a host drives, from InitializeVEQ to ShutDownVEQ: the
// configuration from a shipped file and a server, a room browser, page loads,
// every script action, the room entered, teardown. It writes a transcript
// (the diagnostic lines, every script and URL the module handed the browser,
// the bytes of the preferences file) that scripts/test compares between the
// Linux and the Windows build.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "runtime/dispatcher.h"
#include "runtime/paths.h"
#include "testing/http_test_server.h"
#include "testing/veqpod/veqpod_control.h"
#include "tests/preferences_files.h"
#include "tests/test_support.h"
#include "xloop/xloop_client.h"

using namespace xloop_test;

namespace {

constexpr char kTranscriptFile[] = "whole_flow_transcript.txt";

std::string configXml(const std::string& roomURL, const std::string& serverURL) {
    return "<?xml version=\"1.0\"?>\n<veqconfig><defaults killswitch=\"on\"/><Studio><ver_17>"
           "<en_us killswitch=\"off\" url=\"" + roomURL + "\" serverurl=\"" + serverURL +
           "\"/></ver_17></Studio></veqconfig>";
}

bool logged(const LogCapture& log, const std::string& line) {
    return log.contains("(VEQ): " + line);
}

// What differs between two runs and two machines only by place and time: the
// temporary folder (its path with the platform's separators, and its URL),
// the server's port (also inside escaped payloads) and the cache-busting
// number.
std::string normalized(std::string text, const TempFolder& folder, int port) {
    auto replaceAll = [&text](const std::string& from, const std::string& to) {
        for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
            text.replace(at, from.size(), to);
        }
    };
    replaceAll(XLoop::fileURLFromPath(folder.path().u8string().c_str()), "<folder URL>");
    replaceAll(folder.path().u8string(), "<folder>");
    for (size_t at = text.find("<folder>"); at != std::string::npos; at = text.find("<folder>", at + 1)) {
        for (size_t i = at; i < text.size() && text[i] != ' ' && text[i] != '\n'; ++i) {
            if (text[i] == '\\') text[i] = '/';
        }
    }
    const std::string portText = std::to_string(port);
    for (const char* colon : {":", "%3A", "%253A"}) replaceAll(std::string("127.0.0.1") + colon + portText,
                                                              std::string("127.0.0.1") + colon + "<port>");
    return std::regex_replace(text, std::regex("([?&]|%3F|%26)[0-9]{6,}"), "$1<time>");
}

TEST(WholeFlowTest, FromInitializeToShutDownWithATranscriptForBothBuilds) {
    HttpTestServer server;
    TempFolder folder;
    const std::string roomURL = server.url("/veqtemplate/room.html");
    server.setRoute("/veqtemplate/room.html", answer(200, "<html>room</html>"));
    server.setRoute("/VEQConfig.xml", answer(200, configXml(roomURL, "https://server.example/fetched")));
    const auto shipped = folder.path() / "app" / "VEQConfig.xml";
    writeBytes(shipped, configXml(roomURL, "https://server.example/shipped"));
    const auto offlinePage = folder.path() / "app" / "xLoop_Offline.html";
    writeBytes(offlinePage, "<html>offline</html>");
    const std::string userData = (folder.path() / "user").u8string();
    std::filesystem::create_directories(userData);

    veqpodReset();
    LogCapture log;
    InitializeVEQ(nullptr);
    VEQConfiguration* config =
        GetVEQConfiguration(shipped.u8string().c_str(), server.url("/VEQConfig.xml").c_str(), "Studio", "17", "en_us",
                            userData.c_str(), "host value", "retail", offlinePage.u8string().c_str(), false, true);
    ASSERT_FALSE(config->killSwitch);
    // One thing at a time, so the lines of the threads never interleave.
    ASSERT_TRUE(waitUntil([&] { return logged(log, "Reading remote parameters task finished executing"); }));
    ASSERT_TRUE(runUiTasksUntil([&] { return logged(log, "Updating with remote parameters: off " + roomURL +
                                                             " https://server.example/fetched"); }));

    BrowserClient* client = CreateBrowserClientWithConfig(nullptr, config, nullptr);
    ASSERT_NE(client, nullptr);
    ASSERT_TRUE(runUiTasksUntil([&] { return !veqpod::calls(client).empty(); }));
    const char* ids[] = {"a1", "b2"};
    const char* names[] = {"Update One", "Update Two"};
    const char* descriptions[] = {"First, with 100% more", "Second"};
    SetUpdateInfo(client, 2, ids, names, descriptions);
    veqpodFireLoadFinished(client, "about:blank");
    veqpodFireLoadStarted(client, config->url);
    veqpodFireLoadFinished(client, config->url);
    veqpodFireLoadFinished(client, "https://elsewhere.example/?veqtemplate");  // another site hears nothing

    std::string transcript;
    auto invoke = [&](const char* action, const char* arguments) {
        std::string reply;
        veqpod::invokeAction(client, action, arguments, &reply);
        transcript += std::string("reply to ") + action + ": " + reply + "\n";
    };
    invoke("writePreference", R"({"key":"theme","value":"dark \"blue\" é 😀"})");
    invoke("readPreference", R"({"key":"theme"})");
    invoke("readPreference", R"({"defaultValue":"none","key":"missing"})");
    invoke("writePreference", R"({"key":"url","value":"https://elsewhere.example/"})");
    invoke("writeLog", R"({"msg":"page says %s and 100%\n(VEQ): forged"})");
    invoke("openURI", R"({"uri":"file:///etc/passwd"})");
    invoke("openURI", R"({"uri":"mailto:a@example.test?attach=/etc/passwd"})");
    invoke("writeLastViewedCardID", R"({"key":"lastViewedCardID","value":"card-9"})");
    const size_t callsBeforeRetry = veqpod::calls(client).size();
    invoke("retryGetOnline", "{}");
    ASSERT_TRUE(runUiTasksUntil([&] { return veqpod::calls(client).size() > callsBeforeRetry; }));

    NotifyXLoopRoomVisited(client);
    EXPECT_TRUE(IsXloopRoomVisited(client));
    SetXloopViewForced(true, userData.c_str(), "en_us");
    EXPECT_TRUE(IsXLoopViewForced(userData.c_str(), "en_us"));
    veqpodFireLoadFinished(client, config->url);
    veqpodFireLoadFailed(client, config->url);

    for (const auto& call : veqpod::calls(client)) transcript += call.operation + ": " + call.argument + "\n";
    ShutDownVEQ();  // the library destroys the room browser
    XLoop::destroyMainThreadDispatcher();
    for (const auto& line : log.lines()) transcript += line + (line.empty() || line.back() != '\n' ? "\n" : "");
    transcript += "preferences file:\n" + fileBytes(preferencesFile(std::filesystem::u8path(userData), "en_us")) + "\n";

    EXPECT_NE(transcript.find("loadURL: " + XLoop::fileURLFromPath(offlinePage.u8string().c_str())),
              std::string::npos);
    EXPECT_NE(transcript.find("lastViewedCardID=\"card-9\""), std::string::npos);
    // The room entered: the next load tells the page the card last viewed and the forced view.
    EXPECT_NE(transcript.find("(lastViewedCardID: card-9)"), std::string::npos);
    EXPECT_NE(transcript.find("Going to Pass Force Xloop View info"), std::string::npos);
    EXPECT_NE(transcript.find("(VEQ): Shutting down dispatchers"), std::string::npos);
    std::ofstream(kTranscriptFile, std::ios::binary) << normalized(transcript, folder, server.port());

    FreeVEQConfiguration(config);
}

}  // namespace
