// The life of a room browser: made and wired by CreateBrowserClientWithConfig,
// sent to the room or the offline page by the check's answer, initialised on
// every load, and unwired when the browser library destroys it.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <thread>

#include "exports/browser_cleanup_handler.h"
#include "runtime/dispatcher.h"
#include "testing/http_test_server.h"
#include "testing/veqpod/veqpod_control.h"
#include "tests/preferences_files.h"
#include "tests/room_support.h"
#include "tests/test_support.h"

using namespace xloop_test;
using Calls = std::vector<veqpod::ClientCall>;

namespace {

constexpr char kOffline[] = "file:///app/xLoop_Offline.html";

const char* const kWiringKeys[] = {"pageLoadHandlerInstance", "xLoopBackgroundURLAccessTask",
                                   "xLoopInitialLoadingTask", "eXLoopInitialBackgroundDispatcher",
                                   "writePreference", "retryGetOnline", "writeLastViewedCardID"};

class RoomBrowserTest : public ::testing::Test {
protected:
    void SetUp() override {
        veqpodReset();
        InitializeVEQ(nullptr);
        server.setRoute("/veqtemplate/room", answer(200, "<html>room</html>"));
        record.room(server.url("/veqtemplate/room?1700000000"), userData.path());
    }
    void TearDown() override {
        if (client != nullptr) veqpodDestroyClient(client);
        XLoop::destroyMainThreadDispatcher();
    }

    BrowserClient* create() { return client = CreateBrowserClientWithConfig(&hostArg1, record.get(), &hostArg2); }
    Calls calls() { return veqpod::calls(client); }
    bool waitForCalls(size_t count) {
        return runUiTasksUntil([&] { return calls().size() >= count; });
    }
    std::string invoke(const char* action, const char* arguments) {
        std::string reply;
        return veqpod::invokeAction(client, action, arguments, &reply) ? reply : "(no handler)";
    }

    int hostArg1 = 0, hostArg2 = 0;
    HttpTestServer server;
    TempFolder userData;
    RoomRecord record;
    BrowserClient* client = nullptr;
};

TEST_F(RoomBrowserTest, StartsBlankIsWiredAndLoadsTheRoomWhenItAnswers) {
    LogCapture log;
    ASSERT_NE(create(), nullptr);

    const auto creation = veqpod::libraryRecord().creations.at(0);
    EXPECT_EQ(creation.hostArg1, &hostArg1);
    EXPECT_EQ(creation.hostArg2, &hostArg2);
    EXPECT_EQ(creation.version, 17);
    EXPECT_EQ(creation.initialURL, "about:blank");
    for (const char* key : kWiringKeys) EXPECT_NE(client->getUserData(key), nullptr) << key;
    EXPECT_EQ(veqpodUserDataCount(client), 7);
    EXPECT_EQ(veqpodActionHandlerCount(client), 6);
    EXPECT_TRUE(veqpodHasPageLoadHandler(client));
    EXPECT_TRUE(veqpodHasDestroyNotifier(client));

    ASSERT_TRUE(waitForCalls(1));
    EXPECT_EQ(calls(), (Calls{{"loadURL", record->url}}));
    EXPECT_TRUE(log.contains(std::string("(VEQ): URL ") + record->url + " is accessible"));
    EXPECT_EQ(server.requests().at(0).method, "HEAD");
}

TEST_F(RoomBrowserTest, AnUnansweredRoomOrAFailingRoomPageShowsTheOfflinePage) {
    record.set(&VEQConfiguration::url, server.url("/veqtemplate/missing").c_str());
    create();
    ASSERT_TRUE(waitForCalls(1));
    EXPECT_EQ(calls(), (Calls{{"loadURL", kOffline}}));

    record.set(&VEQConfiguration::url, server.url("/veqtemplate/room").c_str());
    veqpodFireLoadStarted(client, record->url);
    veqpodFireLoadFailed(client, record->url);
    veqpodFireLoadStarted(client, kOffline);
    veqpodFireLoadFinished(client, kOffline);
    const Calls all = calls();
    ASSERT_EQ(all.size(), 6u);
    EXPECT_EQ(all[1], (veqpod::ClientCall{"setPageBusy", "true"}));
    EXPECT_EQ(all[2], (veqpod::ClientCall{"loadURL", kOffline}));
    EXPECT_EQ(all[3], (veqpod::ClientCall{"setPageBusy", "true"}));
    EXPECT_EQ(payloadOfCall("initXLoopRoom", all[4].argument).size(), 1u);  // the offline page: preferences only
    EXPECT_EQ(all[5], (veqpod::ClientCall{"setPageBusy", "false"}));

    // Without an offline page an unanswered room loads nothing.
    record.set(&VEQConfiguration::url, server.url("/veqtemplate/missing").c_str())
        .set(&VEQConfiguration::offlinePageURL, "");
    LogCapture log;
    BrowserClient* bare = CreateBrowserClientWithConfig(nullptr, record.get(), nullptr);
    ASSERT_TRUE(runUiTasksUntil(
        [&] { return log.contains(std::string("(VEQ): URL ") + record->url + " is not accessible"); }));
    EXPECT_TRUE(veqpod::calls(bare).empty());
    veqpodDestroyClient(bare);
}

TEST_F(RoomBrowserTest, TheHostsCallsReachOnlyATrustedPageAndWhatTheOthersMissWaitsForTheNextTrustedLoad) {
    record.set(&VEQConfiguration::url, server.url("/veqtemplate/missing").c_str());  // retries fail
    create();
    ASSERT_TRUE(waitForCalls(1));
    veqpodFireLoadFinished(client, kOffline);
    const char* elsewhere = "https://elsewhere.example/\n(VEQ): forged";
    veqpodFireLoadStarted(client, elsewhere);  // a link the user followed, still loading
    const char* ids[] = {"a1"};
    LogCapture log;
    SetUpdateInfo(client, 1, ids, ids, ids);
    veqpodFireLoadFinished(client, elsewhere);
    NotifyXLoopRoomVisited(client);
    invoke("retryGetOnline", "{}");
    ASSERT_TRUE(runUiTasksUntil([&] { return log.contains("(VEQ): Retry is now complete with result : 0"); }));

    const size_t shownElsewhere = calls().size();
    ASSERT_EQ(calls().back(), (veqpod::ClientCall{"setPageBusy", "false"}));
    for (const char* function : {"setUpdateInfo", "xloopRoomVisited", "onRetryComplete"}) {
        EXPECT_TRUE(log.contains(std::string("(VEQ): Holding back ") + function +
                                 ": the view shows https://elsewhere.example/\\x0A(VEQ): forged, "
                                 "not the room or the offline page"));
    }
    // The next trusted page is told both in its payload, and then hears the host's calls.
    veqpodFireLoadFinished(client, kOffline);
    const XLoop::ScriptObject payload = payloadOfCall("initXLoopRoom", calls().at(shownElsewhere).argument);
    EXPECT_EQ(payload.at("isXloopViewForced"), "yes");
    EXPECT_EQ(percentDecode(payload.at("updateInfo")),
              R"({"updateDescriptions":"a1","updateNames":"a1","updateRefIds":"a1"})");
    NotifyXLoopRoomVisited(client);
    EXPECT_EQ(calls().back(), (veqpod::ClientCall{"executeScript", "xloopRoomVisited();"}));
}

TEST_F(RoomBrowserTest, ARefusedBrowserMakesNoCheck) {
    veqpodRefuseNextClient();
    record.set(&VEQConfiguration::version, "beta");
    EXPECT_EQ(create(), nullptr);
    EXPECT_EQ(veqpod::libraryRecord().creations.at(0).version, 0);
    EXPECT_EQ(server.requestCount(), 0);
}

TEST_F(RoomBrowserTest, DestroyedBeforeTheAnswerItIsNeverNavigatedAndItsQueueGoes) {
    LogCapture log;
    create();
    const char* ids[] = {"a1"};
    SetUpdateInfo(client, 1, ids, ids, ids);
    // Wait for the answer, but leave it on the UI queue.
    ASSERT_TRUE(waitUntil([&] {
        return log.contains(std::string("(VEQ): URL ") + record->url + " accessibility result: 1");
    }));

    veqpodDestroyClient(client);  // a late navigation would touch freed memory
    client = nullptr;
    runPendingUiTasks();
    EXPECT_EQ(XLoop::mainThreadDispatcherExists(), false);
    EXPECT_TRUE(log.contains("(VEQ): Shutting down dispatchers"));

}

// The queue ends with the last room browser only: one room's teardown leaves
// another's pending answer to run, and a room made after the last one went
// brings the queue back.
TEST_F(RoomBrowserTest, OneRoomsTeardownLeavesTheOthersAndLaterRoomsLoad) {
    LogCapture log;
    BrowserClient* first = create();
    BrowserClient* second = create();
    const std::string answered = std::string("(VEQ): URL ") + record->url + " accessibility result: 1";
    ASSERT_TRUE(waitUntil([&] {
        const auto lines = log.lines();
        return std::count(lines.begin(), lines.end(), answered) == 2;
    }));
    veqpodDestroyClient(first);
    EXPECT_TRUE(XLoop::mainThreadDispatcherExists());
    ASSERT_TRUE(runUiTasksUntil([&] { return !veqpod::calls(second).empty(); }));
    EXPECT_EQ(veqpod::calls(second).at(0), (veqpod::ClientCall{"loadURL", record->url}));

    // The kill switch's release leaves the queue to a living room browser.
    XLoop::MainThreadDispatcher().post(XLoop::makeRef<XLoop::MainThreadDispatcherReleaseTask>().get());
    runPendingUiTasks();
    EXPECT_TRUE(XLoop::mainThreadDispatcherExists());
    veqpodDestroyClient(second);
    client = nullptr;
    EXPECT_FALSE(XLoop::mainThreadDispatcherExists());

    for (int round = 0; round < 3; ++round) {
        create();
        ASSERT_TRUE(waitForCalls(1)) << round;
        EXPECT_EQ(calls().at(0), (veqpod::ClientCall{"loadURL", record->url}));
        veqpodDestroyClient(client);
        client = nullptr;
        EXPECT_FALSE(XLoop::mainThreadDispatcherExists());
    }
    // Without a room browser, ShutDownVEQ ends it.
    InitializeVEQ(nullptr);
    ShutDownVEQ();
    EXPECT_FALSE(XLoop::mainThreadDispatcherExists());
}

TEST_F(RoomBrowserTest, UnwiringClearsEveryEntrySoLateCallbacksFindNothing) {
    create();
    ASSERT_TRUE(waitForCalls(1));
    const char* ids[] = {"a1"};
    SetUpdateInfo(client, 1, ids, ids, ids);

    std::unique_ptr<XLoop::XLoopBrowserCleanupHandler> cleanup(XLoop::XLoopBrowserCleanupHandler::create(
        std::make_shared<XLoop::ClientPresence>(), XLoop::MainThreadDispatcherHold::take()));
    cleanup->onDestroy(client);
    for (const char* key : kWiringKeys) EXPECT_EQ(client->getUserData(key), nullptr) << key;
    EXPECT_EQ(client->getUserData("eXloopUpdateInfo"), nullptr);

    // The library may still report a load to the page-load handler it holds.
    veqpodFireLoadFinished(client, record->url);
    ASSERT_EQ(calls().back().operation, "setPageBusy");
    EXPECT_EQ(payloadOfCall("initXLoopRoom", calls().at(calls().size() - 2).argument).count("updateInfo"), 0u);
    const size_t before = calls().size();
    NotifyXLoopRoomVisited(client);
    EXPECT_EQ(calls().size(), before);
    EXPECT_FALSE(IsXloopRoomVisited(client));
}

TEST_F(RoomBrowserTest, TheNotifierOfAnUnwiredBrowserOnlyEndsTheQueue) {
    client = CreateBrowser(nullptr, nullptr, "1");
    std::unique_ptr<XLoop::XLoopBrowserCleanupHandler> cleanup(XLoop::XLoopBrowserCleanupHandler::create(
        std::make_shared<XLoop::ClientPresence>(), XLoop::MainThreadDispatcherHold::take()));
    client->setDestroyNotifier(cleanup.get());
    LogCapture log;
    veqpodDestroyClient(client);
    client = nullptr;
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"(VEQ): Shutting down dispatchers",
                                                     "(VEQ): Destroying main thread dispatcher",
                                                     "(VEQ): Main thread dispatcher destroyed now"}));
    EXPECT_EQ(XLoop::mainThreadDispatcherExists(), false);
}

// Who deletes a destroy notifier is the library's choice: each browser has
// its own, which the library may delete or leave to the module.
TEST_F(RoomBrowserTest, EachBrowserHasANotifierTheLibraryMayDeleteOrLeave) {
    for (unsigned modes : {0u, unsigned{VEQPOD_DELETES_NOTIFIERS}}) {
        veqpodSetStrictModes(modes);
        BrowserClient* first = create();
        BrowserClient* second = create();
        ASSERT_TRUE(runUiTasksUntil([&] { return veqpod::calls(first).size() + veqpod::calls(second).size() == 2; }));
        veqpodDestroyClient(first);
        client = nullptr;
        ShutDownVEQ();  // destroys the second; the module deletes what the library left
        EXPECT_TRUE(veqpodHeapIsValid()) << modes;
        InitializeVEQ(nullptr);
    }
}

TEST_F(RoomBrowserTest, LoadsReportedFromInsideLoadURLAreServedAtOnce) {
    veqpodSetStrictModes(VEQPOD_LOADS_WITHIN_LOADURL);
    create();
    ASSERT_TRUE(waitForCalls(4));
    EXPECT_EQ(calls().at(1), (veqpod::ClientCall{"setPageBusy", "true"}));
    EXPECT_EQ(payloadOfCall("initXLoopRoom", calls().at(2).argument).at("product"), "Studio");
    EXPECT_EQ(calls().at(3), (veqpod::ClientCall{"setPageBusy", "false"}));

    // A failing room page: the offline page loads, and is served, inside the fallback.
    veqpodFireLoadFailed(client, record->url);
    EXPECT_EQ(calls().at(4), (veqpod::ClientCall{"loadURL", kOffline}));
    EXPECT_EQ(calls().back(), (veqpod::ClientCall{"setPageBusy", "false"}));
    EXPECT_EQ(invoke("retryGetOnline", "{}"), "{}");
    const size_t before = calls().size();
    ASSERT_TRUE(waitForCalls(before + 4));
    EXPECT_EQ(calls().at(before), (veqpod::ClientCall{"loadURL", record->url}));
}

TEST_F(RoomBrowserTest, ABrowserDestroyedFromInsideACallbackIsTouchedNoMore) {
    create();
    ASSERT_TRUE(waitForCalls(1));
    veqpodSetStrictModes(VEQPOD_DESTROYS_WITHIN_CALLBACKS | VEQPOD_DELETES_NOTIFIERS);
    LogCapture log;
    veqpodFireLoadFinished(client, record->url);  // the init script closes the browser
    client = nullptr;
    EXPECT_TRUE(log.contains("(VEQ): Shutting down dispatchers"));

    // The same from the fallback to the offline page.
    InitializeVEQ(nullptr);
    create();
    ASSERT_TRUE(waitForCalls(1));
    veqpodFireLoadFailed(client, record->url);
    client = nullptr;
    EXPECT_TRUE(veqpodHeapIsValid());
}

TEST_F(RoomBrowserTest, AnActionInvokedFromInsideAScriptIsServed) {
    create();
    ASSERT_TRUE(waitForCalls(1));
    veqpodInvokeWithinNextScript(client, "writePreference", R"({"key":"seen","value":"at once"})");
    veqpodFireLoadFinished(client, record->url);
    EXPECT_EQ(calls().back(), (veqpod::ClientCall{"setPageBusy", "false"}));
    EXPECT_EQ(loadedPreferences(userData.path(), "en_us").at("seen"), "at once");
}

TEST_F(RoomBrowserTest, CallsOnTheLibrarysOwnThreadsRaceNothing) {
    create();
    ASSERT_TRUE(waitForCalls(1));
    veqpodSetStrictModes(VEQPOD_CALLS_FROM_OWN_THREADS);
    veqpodFireLoadFinished(client, record->url);
    EXPECT_EQ(calls().back(), (veqpod::ClientCall{"setPageBusy", "false"}));

    // Eight threads of the library's write and read while the host writes too.
    std::thread library([&] {
        veqpodInvokeActionFromThreads(client, "writePreference", R"({"key":"theme","value":"dark"})", 4, 25);
    });
    std::thread readers([&] {
        veqpodInvokeActionFromThreads(client, "readPreference", R"({"key":"size","defaultValue":"9"})", 4, 25);
    });
    for (int i = 0; i < 25; ++i) SetXloopViewForced(i % 2 == 0, record->userDataPath, "en_us");
    library.join();
    readers.join();
    EXPECT_EQ(invoke("retryGetOnline", "{}"), "{}");
    EXPECT_EQ(loadedPreferences(userData.path(), "en_us"),
              (XLoop::ScriptObject{{"forcexloopview", "true"}, {"lastViewedCardID", ""}, {"size", "9"},
                                   {"theme", "dark"}}));
}

}  // namespace
