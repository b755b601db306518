// Many threads posting and cancelling at once; run it under ThreadSanitizer.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "runtime/dispatcher.h"
#include "tests/test_support.h"
#include "xloop/xloop_client.h"

using namespace xloop_test;

namespace {

struct Counters {
    std::atomic<int> alive{0};
    std::atomic<int> ran{0};
    std::atomic<int> ranAfterCancel{0};
};

class CountingTask : public XLoop::Task {
public:
    explicit CountingTask(Counters& counters, XLoop::Task* reply = nullptr)
        : counters(counters), reply(reply) {
        counters.alive++;
    }
    ~CountingTask() override {
        if (reply != nullptr) reply->release();
        counters.alive--;
    }
    void run() override {
        if (cancelledBeforePost) counters.ranAfterCancel++;
        counters.ran++;
        if (reply != nullptr) XLoop::MainThreadDispatcher().post(reply);
    }

    bool cancelledBeforePost = false;

private:
    Counters& counters;
    XLoop::Task* reply;
};

TEST(DispatcherStressTest, ConcurrentPostsAndCancelsLeakNothing) {
    InitializeVEQ(nullptr);
    Counters counters;
    constexpr int kThreads = 4;
    constexpr int kTasksPerThread = 1500;
    std::atomic<int> postersLeft{kThreads};

    std::vector<std::thread> posters;
    for (int t = 0; t < kThreads; ++t) {
        posters.emplace_back([&, t] {
            std::unique_ptr<XLoop::WorkerThreadDispatcher> worker(
                XLoop::createWorkerThreadDispatcher());
            XLoop::MainThreadDispatcher main;
            for (int i = 0; i < kTasksPerThread; ++i) {
                auto* reply = new CountingTask(counters);
                auto* task = new CountingTask(counters, reply);
                switch ((i + t) % 4) {
                    case 0:  // cancelled before it is posted: never runs
                        task->cancelledBeforePost = true;
                        task->cancel();
                        worker->post(task);
                        break;
                    case 1:  // cancelled while it may be queued or running
                        worker->post(task);
                        task->cancel();
                        break;
                    case 2:  // its reply is cancelled while in flight
                        worker->post(task);
                        reply->cancel();
                        break;
                    default:
                        main.post(task);
                        break;
                }
                task->release();
            }
            postersLeft--;
        });
    }

    ASSERT_TRUE(runUiTasksUntil([&] { return postersLeft == 0 && counters.alive == 0; }));
    for (auto& poster : posters) poster.join();

    EXPECT_EQ(counters.ranAfterCancel, 0);
    EXPECT_GT(counters.ran, 0);
    XLoop::destroyMainThreadDispatcher();
}

}  // namespace
