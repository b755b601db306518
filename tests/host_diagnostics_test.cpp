// Every failure and host mistake says why, in one line naming the call.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <thread>
#include <utility>

#include "testing/veqpod/veqpod_control.h"
#include "tests/room_support.h"
#include "tests/test_support.h"
#include "xloop/xloop_client.h"

using namespace xloop_test;

namespace {

using Call = std::function<void()>;

// Each call, alone in the log, gives its line.
void expectLines(const std::vector<std::pair<Call, std::string>>& table) {
    for (const auto& [call, line] : table) {
        LogCapture log;
        call();
        EXPECT_TRUE(log.contains("(VEQ): " + line)) << line;
    }
}

int countOf(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<int>(std::count(lines.begin(), lines.end(), "(VEQ): " + line));
}

TEST(HostDiagnosticsTest, RefusalsOfTheLibraryAndIncompleteRecordsSayWhy) {
    veqpodReset();
    TempFolder userData;
    RoomRecord withoutURL;
    RoomRecord halfFilled;
    halfFilled.set(&VEQConfiguration::url, "https://room.test/").set(&VEQConfiguration::version, "1");
    BrowserInitData initData{"about:blank", "", 1, 1, 1};
    expectLines({
        {[] { veqpodSetInitializeResult(0); InitializeVEQ(nullptr); }, "InitializeBrowser failed with result 0"},
        {[] { veqpodRefuseNextClient(); CreateBrowser(nullptr, nullptr, "1"); },
         "CreateBrowser failed: CreateBrowserClientWithInitData returned null"},
        {[&] { veqpodRefuseNextClient(); CreateBrowserWithInitData(nullptr, nullptr, "1", &initData); },
         "CreateBrowserWithInitData failed: CreateBrowserClientWithInitData returned null"},
        {[&] { veqpodRefuseNextClient(); CreateBrowserClientWithConfig(nullptr, halfFilled.get(), nullptr); },
         "CreateBrowserClientWithConfig failed: CreateBrowserClientWithInitData returned null"},
        {[&] { veqpodRefuseNextClient(); CreateBrowserClientWithConfig(nullptr, halfFilled.get(), nullptr); },
         "CreateBrowserClientWithConfig: the configuration record has no product, locale, userDataPath; taken as "
         "empty"},
        {[] { CreateBrowserClientWithConfig(nullptr, nullptr, nullptr); },
         "CreateBrowserClientWithConfig refused: no configuration record"},
        {[&] { CreateBrowserClientWithConfig(nullptr, withoutURL.get(), nullptr); },
         "CreateBrowserClientWithConfig refused: the configuration record has no url"},
        {[] { ModifyVEQConfiguration(nullptr, "trial"); },
         "ModifyVEQConfiguration called without a configuration record"},
        {[&] { ModifyVEQConfiguration(halfFilled.get(), nullptr); },
         "ModifyVEQConfiguration called without an installation type; the record is unchanged"},
    });
    ShutDownVEQ();
    veqpodReset();
}

// The calls that need the browser library, or the UI-thread queue for what
// they start. None makes a browser: the library refuses each.
std::vector<std::pair<Call, std::string>> callsNeedingTheModule(const std::string& when) {
    return {
        {[] { veqpodRefuseNextClient(); CreateBrowser(nullptr, nullptr, "1"); }, "CreateBrowser called " + when},
        {[] { FreeVEQConfiguration(GetVEQConfiguration(nullptr, nullptr, "p", "1", "en_us", nullptr, nullptr,
                                                       nullptr, nullptr, false, false)); },
         "GetVEQConfiguration called " + when},
        {[] { SetUpdateInfo(nullptr, 0, nullptr, nullptr, nullptr); }, "SetUpdateInfo called " + when},
        {[] { NotifyXLoopRoomVisited(nullptr); }, "NotifyXLoopRoomVisited called " + when},
        {[] { UpdateBrowserZoomScale(nullptr, 1.0); }, "UpdateBrowserZoomScale called " + when},
        {[] { ShutDownVEQ(); }, "ShutDownVEQ called " + when},
    };
}

// Only a process that has not started the module yet can see these; ctest
// runs each test in a process of its own. The dispatch descriptor, made by the
// first InitializeVEQ, tells on Linux.
TEST(HostDiagnosticsTest, CallsBeforeInitializeVEQSayItOnce) {
#if defined(_WIN32)
    GTEST_SKIP() << "only the Linux build can tell that no InitializeVEQ ran in this process";
#else
    if (GetVEQDispatchFd() != -1) GTEST_SKIP() << "the module was started earlier in this process: run this test alone";
    expectLines(callsNeedingTheModule("before InitializeVEQ: the browser library is not started"));
#endif
}

TEST(HostDiagnosticsTest, CallsAfterShutDownVEQSayItOncePerExportAndNoneWhileRunning) {
    InitializeVEQ(nullptr);
    {
        LogCapture running;
        for (const auto& row : callsNeedingTheModule("")) row.first();
        for (const auto& line : running.lines()) EXPECT_EQ(line.find(" called "), std::string::npos) << line;
    }
    const auto table = callsNeedingTheModule("after ShutDownVEQ: the browser library is stopped");
    expectLines(table);
    LogCapture again;
    for (const auto& row : table) row.first();
    for (const auto& row : table) EXPECT_EQ(countOf(again.lines(), row.second), 0) << row.second;
}

TEST(HostDiagnosticsTest, ACallFromAnotherThreadIsNamedOnceAndStillDone) {
    TempFolder userData;
    const std::string folder = userData.path().u8string();
    InitializeVEQ(nullptr);
    LogCapture log;
    bool forced = false;
    std::thread([&] {
        SetXloopViewForced(true, folder.c_str(), "en_us");
        forced = IsXLoopViewForced(folder.c_str(), "en_us");
        IsXLoopViewForced(folder.c_str(), "en_us");
    }).join();
    IsXLoopViewForced(folder.c_str(), "en_us");
    EXPECT_TRUE(forced);
    const std::string elsewhere = " called on a thread other than the one that called InitializeVEQ";
    EXPECT_EQ(countOf(log.lines(), "SetXloopViewForced" + elsewhere), 1);
    EXPECT_EQ(countOf(log.lines(), "IsXLoopViewForced" + elsewhere), 1);
    ShutDownVEQ();
}

}  // namespace
