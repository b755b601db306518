// The room page's script actions, invoked through the stand-in browser
// library as a page invokes them, replies included.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "config/remote_config.h"
#include "page/action_arguments.h"
#include "page/last_viewed_card_action_handler.h"
#include "page/retry_get_online_action_handler.h"
#include "page/xloop_action_handler.h"
#include "prefs/preference_limits.h"
#include "prefs/preference_stores.h"
#include "runtime/dispatcher.h"
#include "testing/http_test_server.h"
#include "testing/veqpod/veqpod_control.h"
#include "tests/preferences_files.h"
#include "tests/room_support.h"
#include "tests/test_support.h"
#include "tests/wine.h"

using namespace xloop_test;
using Calls = std::vector<veqpod::ClientCall>;
using XLoop::ScriptObject;

namespace {

class ActionHandlersTest : public ::testing::Test {
protected:
    void SetUp() override { client = CreateBrowser(nullptr, nullptr, "1"); }
    void TearDown() override { veqpodDestroyClient(client); }

    // The reply, or "(no handler)".
    std::string invoke(const char* action, const std::string& arguments) {
        std::string reply;
        if (!veqpod::invokeAction(client, action, arguments.c_str(), &reply)) return "(no handler)";
        return reply;
    }

    ScriptObject storedPreferences() { return loadedPreferences(userData.path(), "en_us"); }

    TempFolder userData;
    BrowserClient* client = nullptr;
};

class PreferenceActionsTest : public ActionHandlersTest {
protected:
    void SetUp() override {
        ActionHandlersTest::SetUp();
        for (const char* action : {"writePreference", "openURI", "readPreference", "writeLog", "otherAction"})
            client->registerActionHandler(action, &handler);
    }

    VEQ::XloopActionHandler handler{userData.path().u8string(), "en_us"};
};

TEST_F(PreferenceActionsTest, WriteAndReadPreferencesWithTheRequestedKeyInTheReply) {
    LogCapture log;
    EXPECT_EQ(invoke("writePreference", R"({"key":"color", "value":"blue"})"), "{}");
    EXPECT_EQ(invoke("readPreference", R"({"defaultValue":"red", "key":"color"})"), R"({"color":"blue"})");
    // A missing key is answered with its default, which the store keeps.
    EXPECT_EQ(invoke("readPreference", R"({"defaultValue":"10", "key":"size"})"), R"({"size":"10"})");
    EXPECT_EQ(invoke("readPreference", R"({"defaultValue":"11", "key":"size"})"), R"({"size":"10"})");
    EXPECT_EQ(invoke("readPreference", R"({"key":"shape"})"), R"({"shape":""})");

    EXPECT_EQ(storedPreferences(), (ScriptObject{{"color", "blue"}, {"shape", ""}, {"size", "10"}}));
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"(VEQ): Got action writePreference (color=blue)",
                                                     "(VEQ): Got action readPreference (color=blue)",
                                                     "(VEQ): Got action readPreference (size=10)",
                                                     "(VEQ): Got action readPreference (size=10)",
                                                     "(VEQ): Got action readPreference (shape=)"}));
}

TEST_F(PreferenceActionsTest, MissingOrUnknownArgumentNamesAreLoggedAndEveryActionRepliesAsBefore) {
    LogCapture log;
    for (const char* action : {"writePreference", "openURI", "readPreference", "writeLog", "otherAction"}) {
        EXPECT_EQ(invoke(action, "not an object"), "{}") << action;
    }
    EXPECT_EQ(invoke("writePreference", R"({"name":"n", "value":"v"})"), "{}");
    EXPECT_EQ(invoke("readPreference", R"({"Key":"k"})"), "{}");
    EXPECT_EQ(invoke("openURI", R"({"url":"https://room.test/"})"), "{}");
    EXPECT_EQ(invoke("openURI", R"({"uri":""})"), "{}");
    EXPECT_EQ(invoke("otherAction", R"({"key":"k", "value":"v", "msg":"m"})"), "{}");
    EXPECT_EQ(invoke("readPreference", R"({"key":"k", "defaultValue":"d", "x\", \"y\n":""})"), R"({"k":"d"})");

    EXPECT_EQ(log.lines(),
              (std::vector<std::string>{
                  R"((VEQ): Action writePreference did nothing: its arguments lack "key", "value")",
                  R"((VEQ): Action openURI did nothing: its arguments lack "uri")",
                  R"((VEQ): Action readPreference did nothing: its arguments lack "key")",
                  R"((VEQ): Action writeLog did nothing: its arguments lack "msg")",
                  R"((VEQ): Action writePreference did nothing: its arguments lack "key"; it does not know "name")",
                  R"((VEQ): Action readPreference did nothing: its arguments lack "key"; it does not know "Key")",
                  R"((VEQ): Action openURI did nothing: its arguments lack "uri"; it does not know "url")",
                  R"((VEQ): Action readPreference ignored the arguments it does not know: "x\", \"y\n")",
                  "(VEQ): Got action readPreference (k=d)"}));
    EXPECT_EQ(storedPreferences(), (ScriptObject{{"k", "d"}}));
    EXPECT_TRUE(veqpodHeapIsValid());  // every reply was the library's to free
}

TEST_F(PreferenceActionsTest, ArgumentsPastWhatAStoredValueNeedsAreRefusedUnread) {
    // The largest value the store keeps, every byte escaped as the page may write it: still read.
    std::string escaped;
    for (size_t i = 0; i < XLoop::kMaxPreferenceValueBytes; ++i) escaped += "\\u0041";
    EXPECT_EQ(invoke("writePreference", R"({"key":"k", "value":")" + escaped + R"("})"), "{}");
    EXPECT_EQ(storedPreferences(), (ScriptObject{{"k", std::string(XLoop::kMaxPreferenceValueBytes, 'A')}}));

    LogCapture log;
    const std::string message(XLoop::kMaxActionArgumentBytes, 'm');
    EXPECT_EQ(invoke("writeLog", R"({"msg":")" + message + R"("})"), "{}");
    EXPECT_EQ(log.lines(), (std::vector<std::string>{
                               "(VEQ): Refused action writeLog: its arguments pass the 2097152 bytes a page may send"}));
}

TEST_F(PreferenceActionsTest, WriteLogNeverUsesTheMessageAsAFormatNorStartsALineOfItsOwn) {
    LogCapture log;
    EXPECT_EQ(invoke("writeLog", R"({"msg":"100%s done %d %n"})"), "{}");
    EXPECT_EQ(invoke("writeLog", R"({"msg":"a\n(VEQ): forged\r\u001b[2J\u007f"})"), "{}");
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"(VEQ): 100%s done %d %n",
                                                     "(VEQ): a\\x0A(VEQ): forged\\x0D\\x1B[2J\\x7F"}));
}

TEST_F(PreferenceActionsTest, TheHostsKeysStayTheHosts) {
    std::shared_ptr<VEQ::VEQPreferences> store = VEQ::getPreferenceStore(userData.path().u8string(), "en_us");
    store->setPreference("killswitch", "off");
    store->setPreference("url", "https://room.test/veqtemplate/");
    const ScriptObject hostValues = storedPreferences();
    VEQ::XLoopWriteLastViewedCardIDActionHandler lastViewed{userData.path().u8string(), "en_us"};
    client->registerActionHandler("writeLastViewedCardID", &lastViewed);
    lastViewed.markRoomVisited();

    LogCapture log;
    for (const char* key : {"killswitch", "url", "serverurl", "forcexloopview"}) {
        const std::string pair = std::string(R"({"key":")") + key + R"(", "value":"x"})";
        EXPECT_EQ(invoke("writePreference", pair), "{}");
        EXPECT_EQ(invoke("writeLastViewedCardID", pair), "{}");
    }
    // The page may read them, but a default it passes is not stored.
    EXPECT_EQ(invoke("readPreference", R"({"defaultValue":"on", "key":"killswitch"})"), R"({"killswitch":"off"})");
    EXPECT_EQ(invoke("readPreference", R"({"defaultValue":"evil", "key":"serverurl"})"), R"({"serverurl":"evil"})");
    EXPECT_EQ(invoke("writePreference", R"({"key":"URL", "value":"page's own"})"), "{}");  // keys are exact

    ScriptObject expected = hostValues;
    expected["URL"] = "page's own";
    EXPECT_EQ(storedPreferences(), expected);
    EXPECT_TRUE(log.contains("(VEQ): Refused writePreference of url: the key belongs to the host"));
    EXPECT_TRUE(log.contains("(VEQ): Refused writeLastViewedCardID of forcexloopview: the key belongs to the host"));
    EXPECT_TRUE(log.contains("(VEQ): Refused to store the default of serverurl: the key belongs to the host"));
}

TEST_F(PreferenceActionsTest, ThePageFillsItsShareAndTheHostsOwnEntriesStillFit) {
    const std::string value(XLoop::kMaxPreferenceValueBytes, 'v');
    LogCapture log;
    size_t written = 0;
    while (written < 40 && log.lines().size() == written) {  // one line a write, two once refused
        invoke("writePreference", R"({"key":"fill)" + std::to_string(written++) + R"(", "value":")" + value + "\"}");
    }
    invoke("readPreference", R"({"key":"more", "defaultValue":")" + value + "\"}");
    EXPECT_EQ(storedPreferences().size(), written - 1);
    EXPECT_TRUE(log.contains("(VEQ): Preference \"more\" not stored: the page's entries would grow past 3145728 bytes"));

    // The host's entries at their largest: every byte of the cached values escaped in the file.
    const std::string quotes(XLoop::kMaxPreferenceValueBytes, '"');
    const std::string folder = userData.path().u8string();
    SetXloopViewForced(true, folder.c_str(), "en_us");
    XLoop::applyConfigParameters("off", quotes.c_str(), quotes.c_str(), folder.c_str(), "en_us");
    VEQ::readPreference(VEQ::getPreferenceStore(folder, "en_us").get(), "lastViewedCardID", "");
    const ScriptObject stored = storedPreferences();
    EXPECT_EQ(stored.size(), written + 4);
    EXPECT_EQ(stored.at("forcexloopview"), "true");
    EXPECT_EQ(stored.at("killswitch"), "off");
    EXPECT_EQ(stored.at("url"), quotes);
    EXPECT_EQ(stored.at("serverurl"), quotes);
    EXPECT_EQ(stored.at("lastViewedCardID"), "");
}

class LastViewedCardTest : public ActionHandlersTest {
protected:
    void SetUp() override {
        ActionHandlersTest::SetUp();
        client->registerActionHandler("writeLastViewedCardID", &handler);
        client->registerActionHandler("writePreference", &preferences);
        client->setUserData("writeLastViewedCardID", &handler);
    }

    VEQ::XLoopWriteLastViewedCardIDActionHandler handler{userData.path().u8string(), "en_us"};
    VEQ::XloopActionHandler preferences{userData.path().u8string(), "en_us"};
};

TEST_F(LastViewedCardTest, ValuesWaitForTheRoomToBeEnteredThenTheLatestOfEachIsWritten) {
    LogCapture log;
    EXPECT_EQ(invoke("writeLastViewedCardID", R"({"key":"lastViewedCardID", "value":"c1"})"), "{}");
    EXPECT_EQ(invoke("writeLastViewedCardID", R"({"key":"lastViewedCardID", "value":"c2"})"), "{}");
    EXPECT_EQ(invoke("writeLastViewedCardID", R"({"key":"lastViewedTab","value":"t1"})"), "{}");
    EXPECT_TRUE(storedPreferences().empty());

    NotifyXLoopRoomVisited(client);
    EXPECT_EQ(storedPreferences(), (ScriptObject{{"lastViewedCardID", "c2"}, {"lastViewedTab", "t1"}}));
    EXPECT_TRUE(log.contains("(VEQ): Got Last viewed cardID from server: (lastViewedCardID = c1)"));
    EXPECT_TRUE(log.contains("(VEQ): Entered XLoop for the first time"));
}

TEST_F(LastViewedCardTest, AfterTheRoomIsEnteredEachValueIsWrittenAloneAndOnce) {
    invoke("writeLastViewedCardID", R"({"key":"lastViewedCardID", "value":"old"})");
    NotifyXLoopRoomVisited(client);
    // Another writer stores a newer value; a later card must not bring the old one back.
    invoke("writePreference", R"({"key":"lastViewedCardID", "value":"newer"})");
    invoke("writeLastViewedCardID", R"({"key":"lastViewedTab", "value":"t2"})");
    LogCapture log;
    EXPECT_EQ(invoke("writeLastViewedCardID", R"({"key":"lastViewedTab"})"), "{}");
    EXPECT_EQ(log.lines(), (std::vector<std::string>{
                               R"((VEQ): Action writeLastViewedCardID did nothing: its arguments lack "value")"}));

    EXPECT_EQ(storedPreferences(), (ScriptObject{{"lastViewedCardID", "newer"}, {"lastViewedTab", "t2"}}));
}

TEST_F(LastViewedCardTest, WaitingPairsObeyTheStoresLimitsAndTheRoomsEntrySavesThemTogether) {
    const std::string value(XLoop::kMaxPreferenceValueBytes, 'v');
    const auto pair = [](const std::string& key, const std::string& text) {
        return R"({"key":")" + key + R"(", "value":")" + text + "\"}";
    };
    LogCapture log;
    invoke("writeLastViewedCardID", pair(std::string(XLoop::kMaxPreferenceKeyBytes + 1, 'k'), "v"));
    invoke("writeLastViewedCardID", pair("long", value + "v"));
    for (int i = 0; i < 20; ++i) invoke("writeLastViewedCardID", pair("card" + std::to_string(100 + i), value));
    NotifyXLoopRoomVisited(client);

    EXPECT_EQ(storedPreferences().size(), 11u);  // of the page's 3 MiB
    EXPECT_TRUE(log.contains("(VEQ): Refused writeLastViewedCardID of " + std::string(64, 'k') +
                             "...: its key is longer than the store takes"));
    EXPECT_TRUE(log.contains("(VEQ): Refused writeLastViewedCardID of long: its value is longer than the store takes"));
    EXPECT_TRUE(log.contains("(VEQ): Refused writeLastViewedCardID of card111: the pairs waiting would outgrow the "
                             "page's share of the store"));
}

class RetryGetOnlineTest : public ActionHandlersTest {
protected:
    void SetUp() override {
        ActionHandlersTest::SetUp();
        InitializeVEQ(nullptr);
        server.setRoute("/veqtemplate/room", answer(200, "<html>room</html>"));
        record.set(&VEQConfiguration::url, server.url("/veqtemplate/room?17").c_str());
        handler = std::make_unique<VEQ::XLoopRetryGetOnlineActionHandler>(client, record.get());
        client->registerActionHandler("retryGetOnline", handler.get());
        showPage(client, record.get(), record->url);
        shown = veqpodCallCount(client);
    }
    void TearDown() override {
        handler.reset();
        XLoop::destroyMainThreadDispatcher();
        ActionHandlersTest::TearDown();
    }

    // The calls since the room was shown.
    Calls calls() {
        const Calls all = veqpod::calls(client);
        return {all.begin() + shown, all.end()};
    }

    HttpTestServer server;
    RoomRecord record;
    std::unique_ptr<VEQ::XLoopRetryGetOnlineActionHandler> handler;
    int shown = 0;
};

TEST_F(RetryGetOnlineTest, AnAnsweringRoomIsLoadedAndOneCheckRunsAtATime) {
    LogCapture log;
    EXPECT_EQ(invoke("retryGetOnline", "{}"), "{}");
    // The first check's answer can only be acted on by this thread: it is still in flight.
    EXPECT_EQ(invoke("retryGetOnline", "{}"), "{}");
    ASSERT_TRUE(runUiTasksUntil([&] { return !calls().empty(); }));

    EXPECT_EQ(calls(), (Calls{{"loadURL", record->url}}));
    EXPECT_EQ(server.requestCount(), 1);
    const auto lines = log.lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "(VEQ): Got request to retry connection..."), 2);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "(VEQ): Retrying for server reachability..."), 1);
    EXPECT_TRUE(log.contains("(VEQ): Retry is now complete with result : 1"));

    // Back to idle: the next retry checks again, and an offline room is reported to the page.
    record.set(&VEQConfiguration::url, server.url("/gone").c_str());
    invoke("retryGetOnline", "{}");
    ASSERT_TRUE(runUiTasksUntil([&] { return calls().size() == 2; }));
    EXPECT_EQ(calls().back(), (veqpod::ClientCall{"executeScript", "onRetryComplete();"}));
    EXPECT_TRUE(log.contains("(VEQ): Retry is now complete with result : 0"));
    invoke("retryGetOnline", R"({"force":"yes"})");

    // Only the retry from the room page that the last retry found up is a loop.
    const auto warnings = log.lines();
    EXPECT_EQ(std::count_if(warnings.begin(), warnings.end(),
                            [](const std::string& line) { return line.rfind("(VEQ): Warning: retryGetOnline", 0) == 0; }),
              1);
    EXPECT_TRUE(log.contains(R"((VEQ): Action retryGetOnline ignored the arguments it does not know: "force")"));
}

TEST_F(RetryGetOnlineTest, DeletingTheHandlerStopsTheCheckAndNothingIsLoaded) {
    HttpRoute held;
    held.holdUntilHangUp = true;
    server.setRoute("/veqtemplate/room", held);
    invoke("retryGetOnline", "{}");
    ASSERT_TRUE(runUiTasksUntil([&] { return server.requestCount() == 1; }));

    handler.reset();  // cancels the check, which aborts its request
    // Wine's WinINet lets go of an aborted request's connection only at its time-out.
    EXPECT_TRUE(runningUnderWine() || waitUntil([&] { return server.hangUps() == 1; }));
    runPendingUiTasks();
    EXPECT_TRUE(calls().empty());
}

}  // namespace
