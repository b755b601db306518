// Nothing unwinds into the browser library, the host or a queue: a failure
// inside the module is logged once and the call gives its failure value.
#include <gtest/gtest.h>

#include <mutex>
#include <stdexcept>

#include "base/ref_ptr.h"
#include "runtime/dispatcher.h"
#include "testing/veqpod/veqpod_control.h"
#include "tests/room_support.h"
#include "tests/test_support.h"

using namespace xloop_test;

namespace {

// A log sink that fails at its next line when armed: any line the module
// writes stands in for anything inside it that can throw.
std::mutex g_linesLock;
std::vector<std::string> g_lines;
bool g_armed = false;

void failingSink(const char* line) {
    std::lock_guard<std::mutex> guard(g_linesLock);
    if (g_armed) {
        g_armed = false;
        throw std::runtime_error("injected failure");
    }
    g_lines.push_back(line);
}

void failAtNextLine() {
    std::lock_guard<std::mutex> guard(g_linesLock);
    g_armed = true;
}

bool logged(const std::string& line) {
    std::lock_guard<std::mutex> guard(g_linesLock);
    for (const auto& seen : g_lines)
        if (seen == line) return true;
    return false;
}

class ThrowingTask final : public XLoop::Task {
public:
    void run() override { throw std::logic_error("task failed on purpose"); }
};

TEST(ExceptionBoundaryTest, FailuresAreLoggedAndGiveTheCallsFailureValue) {
    TempFolder userData;
    RoomRecord record;
    record.room("file:///app/veqtemplate.html?1", userData.path());
    veqpodReset();
    InitializeVEQ(nullptr);
    SetVEQLogSink(failingSink);
    BrowserClient* client = CreateBrowserClientWithConfig(nullptr, record.get(), nullptr);
    ASSERT_NE(client, nullptr);
    // The first check's lines come from a worker: let it end before arming.
    ASSERT_TRUE(runUiTasksUntil([&] { return !veqpod::calls(client).empty(); }));

    failAtNextLine();
    std::string reply;
    EXPECT_TRUE(veqpod::invokeAction(client, "writeLog", R"({"msg":"hello"})", &reply));
    EXPECT_EQ(reply, "{}");  // the library always gets a reply to free
    EXPECT_TRUE(logged("(VEQ): handleAction failed: injected failure"));

    failAtNextLine();
    veqpodFireLoadFinished(client, record->url);
    EXPECT_TRUE(logged("(VEQ): onLoadFinished failed: injected failure"));

    failAtNextLine();
    EXPECT_FALSE(IsXLoopViewForced(userData.path().u8string().c_str(), "en_us"));
    EXPECT_TRUE(logged("(VEQ): IsXLoopViewForced failed: injected failure"));

    failAtNextLine();
    EXPECT_EQ(GetVEQConfiguration(nullptr, "", "P", "1", "en_us", "", nullptr, nullptr, nullptr, false, false),
              nullptr);
    EXPECT_TRUE(logged("(VEQ): GetVEQConfiguration failed: injected failure"));

    auto task = XLoop::makeRef<ThrowingTask>();
    XLoop::MainThreadDispatcher().post(task.get());
    runPendingUiTasks();
    EXPECT_TRUE(logged("(VEQ): a task failed: task failed on purpose"));

    failAtNextLine();
    veqpodDestroyClient(client);
    EXPECT_TRUE(logged("(VEQ): onDestroy failed: injected failure"));
    SetVEQLogSink(nullptr);
    XLoop::destroyMainThreadDispatcher();
}

}  // namespace
