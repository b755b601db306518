// Hosts make mistakes: exports called before InitializeVEQ, after
// ShutDownVEQ, twice, or with null texts. None of them crashes the host.
#include <gtest/gtest.h>

#include "runtime/dispatcher.h"
#include "testing/veqpod/veqpod_control.h"
#include "tests/room_support.h"
#include "tests/test_support.h"
#include "xloop/xloop_client.h"

using namespace xloop_test;

namespace {

// Every export that takes texts or a client, with nulls and nonsense.
void callEveryExportCarelessly() {
    DispatchVEQTasks();
    SetUpdateInfo(nullptr, 2, nullptr, nullptr, nullptr);
    const char* holes[] = {nullptr, "x"};
    SetUpdateInfo(nullptr, 2, holes, holes, holes);
    SetUpdateInfo(nullptr, -5, holes, holes, holes);
    EXPECT_EQ(CreateBrowserClientWithConfig(nullptr, nullptr, nullptr), nullptr);
    RoomRecord urlless;
    EXPECT_EQ(CreateBrowserClientWithConfig(nullptr, urlless.get(), nullptr), nullptr);
    EXPECT_FALSE(IsXloopRoomVisited(nullptr));
    NotifyXLoopRoomVisited(nullptr);
    SetXloopViewForced(true, nullptr, nullptr);
    EXPECT_FALSE(IsXLoopViewForced(nullptr, nullptr));
    EXPECT_EQ(ModifyVEQConfiguration(nullptr, nullptr), nullptr);
    UpdateBrowserZoomScale(nullptr, 0);
    BrowserClient* plain = CreateBrowserWithInitData(nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(plain, nullptr);
    veqpodDestroyClient(plain);
}

TEST(HostMistakesTest, EveryExportSurvivesBeforeInitializeAfterShutdownAndTwice) {
    veqpodReset();
    XLoop::destroyMainThreadDispatcher();  // as before the first InitializeVEQ
    callEveryExportCarelessly();

    InitializeVEQ(nullptr);
    InitializeVEQ(nullptr);
    // A room browser from a record whose texts are all null but the room's.
    RoomRecord sparse;
    sparse.set(&VEQConfiguration::url, "file:///room/veqtemplate.html");
    BrowserClient* room = CreateBrowserClientWithConfig(nullptr, sparse.get(), nullptr);
    ASSERT_NE(room, nullptr);
    ASSERT_TRUE(runUiTasksUntil([&] { return veqpodCallCount(room) > 0; }));
    veqpodFireLoadFinished(room, sparse->url);
    veqpodFireLoadFailed(room, sparse->url);
    std::string reply;
    EXPECT_TRUE(veqpod::invokeAction(room, "writePreference", R"({"key":"k","value":"v"})", &reply));
    NotifyXLoopRoomVisited(room);

    ShutDownVEQ();
    ShutDownVEQ();
    callEveryExportCarelessly();
    XLoop::destroyMainThreadDispatcher();
}

}  // namespace
