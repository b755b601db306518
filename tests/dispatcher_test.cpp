// Tasks crossing threads: references, cancellation, follow-ups, queue teardown.
#include <gtest/gtest.h>

#include <memory>

#include "runtime/dispatcher.h"
#include "tests/recording_task.h"
#include "tests/test_support.h"
#include "xloop/xloop_client.h"

using namespace xloop_test;
using XLoop::MainThreadDispatcher;
using XLoop::WorkerThreadDispatcher;

namespace {

class DispatcherTest : public ::testing::Test {
protected:
    void SetUp() override { InitializeVEQ(nullptr); }
    void TearDown() override { XLoop::destroyMainThreadDispatcher(); }

    TaskEvents events;
};

// Blocks the worker until opened, so tests can queue work behind it.
class GateTask : public XLoop::Task {
public:
    void run() override {
        std::unique_lock<std::mutex> lock(mutex);
        opened.wait(lock, [this] { return isOpen; });
    }
    void open() {
        std::lock_guard<std::mutex> lock(mutex);
        isOpen = true;
        opened.notify_all();
    }

private:
    std::mutex mutex;
    std::condition_variable opened;
    bool isOpen = false;
};

// Posts its result task to the UI thread from the worker, as checks do.
class ReplyingTask : public XLoop::Task {
public:
    explicit ReplyingTask(XLoop::Task* reply) : reply(reply) {}
    ~ReplyingTask() override { reply->release(); }
    void run() override { MainThreadDispatcher().post(reply); }

private:
    XLoop::Task* reply;
};

TEST_F(DispatcherTest, LastReleaseOnAWorkerDeletesThere) {
    std::unique_ptr<WorkerThreadDispatcher> worker(XLoop::createWorkerThreadDispatcher());
    auto* gate = new GateTask();
    auto* task = new RecordingTask("task", events);
    worker->post(gate);
    worker->post(task);
    task->release();  // the queued message now holds the only reference
    gate->open();
    gate->release();

    ASSERT_TRUE(events.waitFor("task deleted"));
    EXPECT_EQ(events.threadOf("task ran"), events.threadOf("task deleted"));
    EXPECT_NE(events.threadOf("task deleted"), std::this_thread::get_id());
}

TEST_F(DispatcherTest, NullAndCancelledTasksAreNotQueuedAndTasksCancelledWhileQueuedNeverRun) {
    std::unique_ptr<WorkerThreadDispatcher> worker(XLoop::createWorkerThreadDispatcher());
    MainThreadDispatcher main;
    worker->post(nullptr);
    main.post(nullptr);

    auto* early = new RecordingTask("early", events);
    early->cancel();
    worker->post(early);
    main.post(early);
    early->release();
    // No queue took a reference: the owner's release was the last one.
    EXPECT_EQ(events.all(), (std::vector<std::string>{"early cancelled", "early deleted"}));

    // Cancelled while queued: it never runs, nor does its follow-up.
    auto* followUp = new RecordingTask("follow-up", events);
    auto* task = new RecordingTask("task", events, followUp);
    main.post(task);
    task->cancel();
    task->release();
    EXPECT_FALSE(events.has("task deleted"));  // the queued message still holds it
    runPendingUiTasks();
    EXPECT_EQ(events.all(), (std::vector<std::string>{"early cancelled", "early deleted", "task cancelled",
                                                      "task deleted", "follow-up deleted"}));
}

TEST_F(DispatcherTest, FollowUpRunsRightAfterItsTaskEvenWhenCancelled) {
    std::unique_ptr<WorkerThreadDispatcher> worker(XLoop::createWorkerThreadDispatcher());
    auto* followUp = new RecordingTask("follow-up", events);
    followUp->cancel();
    auto* task = new RecordingTask("task", events, followUp);
    worker->post(task);
    task->release();

    ASSERT_TRUE(events.waitFor("task deleted"));
    EXPECT_EQ(events.all(), (std::vector<std::string>{"follow-up cancelled", "task ran",
                                                      "follow-up ran", "follow-up deleted",
                                                      "task deleted"}));
    EXPECT_EQ(events.threadOf("task ran"), events.threadOf("follow-up ran"));
}

TEST_F(DispatcherTest, DeletedWorkerStillRunsWhatWasQueuedBeforeIt) {
    auto worker = XLoop::createWorkerThreadDispatcher();
    auto* gate = new GateTask();
    auto* first = new RecordingTask("first", events);
    auto* skipped = new RecordingTask("skipped", events);
    auto* last = new RecordingTask("last", events);
    worker->post(gate);
    worker->post(first);
    worker->post(skipped);
    worker->post(last);
    worker.reset();
    skipped->cancel();
    for (XLoop::Task* task : {first, skipped, last}) task->release();
    gate->open();
    gate->release();

    ASSERT_TRUE(events.waitFor("last deleted"));
    EXPECT_EQ(events.all(),
              (std::vector<std::string>{"skipped cancelled", "first ran", "first deleted",
                                        "skipped deleted", "last ran", "last deleted"}));
}

TEST_F(DispatcherTest, WorkerResultComesBackToTheUiThread) {
    std::unique_ptr<WorkerThreadDispatcher> worker(XLoop::createWorkerThreadDispatcher());
    auto* result = new RecordingTask("result", events);
    auto* check = new ReplyingTask(result);  // takes over the creation reference
    worker->post(check);
    check->release();

    ASSERT_TRUE(runUiTasksUntil([&] { return events.has("result deleted"); }));
    EXPECT_EQ(events.threadOf("result ran"), std::this_thread::get_id());
}

// A second InitializeVEQ keeps the queue and its tasks; destroying it
// releases what is pending, and later posts are dropped.
TEST_F(DispatcherTest, TheUiQueueLivesFromTheFirstInitializeUntilDestroyed) {
    const int descriptor = GetVEQDispatchFd();
    auto* kept = new RecordingTask("kept", events);
    MainThreadDispatcher().post(kept);
    kept->release();
    InitializeVEQ(nullptr);
    EXPECT_EQ(GetVEQDispatchFd(), descriptor);
    runPendingUiTasks();

    LogCapture log;
    auto* pending = new RecordingTask("pending", events);
    MainThreadDispatcher().post(pending);
    pending->release();
    XLoop::destroyMainThreadDispatcher();
    XLoop::destroyMainThreadDispatcher();
    auto* late = new RecordingTask("late", events);
    MainThreadDispatcher().post(late);
    late->release();
    DispatchVEQTasks();  // nothing to run, nothing to crash on

    EXPECT_EQ(events.all(), (std::vector<std::string>{"kept ran", "kept deleted", "pending deleted", "late deleted"}));
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"(VEQ): Destroying main thread dispatcher",
                                                     "(VEQ): Main thread dispatcher destroyed now"}));
    // A host registers the descriptor once: it outlives the queue.
    EXPECT_EQ(GetVEQDispatchFd(), descriptor);
    InitializeVEQ(nullptr);
    EXPECT_EQ(GetVEQDispatchFd(), descriptor);
}

TEST_F(DispatcherTest, ReleaseTaskEndsTheUiQueueAndWhatFollowsIt) {
    auto* releaseTask = new XLoop::MainThreadDispatcherReleaseTask();
    auto* later = new RecordingTask("later", events);
    MainThreadDispatcher main;
    main.post(releaseTask);
    main.post(later);
    releaseTask->release();
    later->release();

    runPendingUiTasks();

    EXPECT_EQ(events.all(), (std::vector<std::string>{"later deleted"}));
}

}  // namespace
