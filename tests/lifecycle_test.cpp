// The lifecycle exports against the stand-in browser library.
#include <gtest/gtest.h>

#include <algorithm>

#include "config/configuration_work.h"
#include "runtime/dispatcher.h"
#include "testing/veqpod/veqpod_control.h"
#include "tests/recording_task.h"
#include "tests/test_support.h"
#include "xloop/xloop_client.h"

using namespace xloop_test;

namespace {

class LifecycleTest : public ::testing::Test {
protected:
    void SetUp() override { veqpodReset(); }
    void TearDown() override { XLoop::destroyMainThreadDispatcher(); }
};

TEST_F(LifecycleTest, PlainBrowserGetsTheStandardInitDataAndVersionNumber) {
    int arg1 = 0, arg2 = 0;
    BrowserClient* client = CreateBrowser(&arg1, &arg2, "17.2");
    BrowserClient* unnumbered = CreateBrowser(&arg1, &arg2, "beta");
    BrowserClient* missing = CreateBrowser(&arg1, &arg2, nullptr);

    const auto creations = veqpod::libraryRecord().creations;
    ASSERT_EQ(creations.size(), 3u);
    EXPECT_EQ(creations[0].hostArg1, &arg1);
    EXPECT_EQ(creations[0].hostArg2, &arg2);
    EXPECT_EQ(creations[0].version, 17);
    EXPECT_EQ(creations[0].initialURL, "about:blank");
    EXPECT_EQ(creations[0].initialText, "");
    for (uint32_t value : creations[0].initValues) EXPECT_EQ(value, 125u);
    EXPECT_EQ(creations[1].version, 0);
    EXPECT_EQ(creations[2].version, 0);

    // A plain browser is not wired for the room.
    EXPECT_EQ(veqpodUserDataCount(client), 0);
    EXPECT_EQ(veqpodActionHandlerCount(client), 0);
    EXPECT_FALSE(veqpodHasDestroyNotifier(client));
    EXPECT_FALSE(veqpodHasPageLoadHandler(client));
    EXPECT_TRUE(veqpod::calls(client).empty());
    for (BrowserClient* each : {client, unnumbered, missing}) veqpodDestroyClient(each);
}

TEST_F(LifecycleTest, InitializeHostsInitDataRefusalsAndSettingsPassThrough) {
    BrowserInitData own{"https://example.test/", "hello", 1, 2, 3};
    BrowserClient* client = CreateBrowserWithInitData(nullptr, nullptr, "9", &own);
    veqpodRefuseNextClient();
    EXPECT_EQ(CreateBrowser(nullptr, nullptr, "9"), nullptr);
    LogCapture log;
    BrowserClient* withoutInitData = CreateBrowserWithInitData(nullptr, nullptr, "9", nullptr);
    EXPECT_EQ(veqpod::libraryRecord().creations.at(2).initialURL, "about:blank");
    EXPECT_TRUE(log.contains(
        "(VEQ): CreateBrowserWithInitData called without init data; using the standard init data"));
    veqpodDestroyClient(withoutInitData);

    const auto created = veqpod::libraryRecord().creations.at(0);
    EXPECT_EQ(created.version, 9);
    EXPECT_EQ(created.initialURL, "https://example.test/");
    EXPECT_EQ(created.initialText, "hello");
    EXPECT_EQ(created.initValues[2], 3u);
    veqpodDestroyClient(client);

    int hostValue = 0;
    veqpodSetInitializeResult(42);
    EXPECT_EQ(InitializeVEQ(&hostValue), 42);
    EXPECT_EQ(veqpod::libraryRecord().initializeCalls, 1);
    EXPECT_EQ(veqpod::libraryRecord().lastInitializeValue, &hostValue);
    EXPECT_TRUE(log.contains("(VEQ): Initializing VEQ framework..."));
    EXPECT_EQ(SetIsLibShared(1), 3);
    EXPECT_EQ(UpdateBrowserZoomScale(nullptr, 1.25), 2);
    EXPECT_EQ(veqpod::libraryRecord().lastSharedFlag, 1);
    EXPECT_EQ(veqpod::libraryRecord().lastZoomScale, 1.25);
}

TEST_F(LifecycleTest, ShutdownStopsConfigurationWorkOnceAndTheLibrary) {
    InitializeVEQ(nullptr);
    XLoop::destroyMainThreadDispatcher();  // only the configuration work is left to stop
    TaskEvents events;
    XLoop::startConfigurationWork(XLoop::makeRef<RecordingTask>("fetch", events),
                                  XLoop::makeRef<RecordingTask>("update", events));
    ASSERT_TRUE(events.waitFor("fetch ran"));
    LogCapture log;

    ShutDownVEQ();
    ShutDownVEQ();

    // The worker lets go of the fetch it ran by the time the stop has waited for it.
    std::vector<std::string> seen = events.all();
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (std::vector<std::string>{"fetch cancelled", "fetch deleted", "fetch ran",
                                              "update cancelled", "update deleted"}));
    EXPECT_EQ(veqpod::libraryRecord().shutdownCalls, 2);
    const std::vector<std::string> lines = log.lines();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "(VEQ): Cleaning up remaining tasks");
    EXPECT_EQ(lines[1], "(VEQ): Shutting down VEQ framework");
    EXPECT_EQ(lines[2], "(VEQ): Shut down VEQ framework successfully");
    EXPECT_EQ(lines[3], "(VEQ): ShutDownVEQ called after ShutDownVEQ: the browser library is stopped");
}

}  // namespace
