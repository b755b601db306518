// What crosses between the module and the browser library: calls into a
// client, callbacks into the module's objects, the shared page-load handler
// and reply texts. On Windows the stand-in is built in Microsoft's C++ ABI,
// so these tests prove the module's side of that boundary.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "page/script_object.h"
#include "runtime/text_copies.h"
#include "testing/veqpod/veqpod_control.h"
#include "xloop/xloop_client.h"

namespace {

struct Lifetimes {
    int destroyed = 0;
};

int g_notifiersFreed = 0;

class RecordingPageLoadHandler final : public VEQ::IPageLoadHandler {
public:
    RecordingPageLoadHandler(Lifetimes& lifetimes, std::vector<std::string>& events)
        : lifetimes(lifetimes), events(events) {}
    ~RecordingPageLoadHandler() override { lifetimes.destroyed++; }

    void onLoadFinished(const char* url) override { events.push_back(std::string("finished ") + url); }
    void onLoadStarted(const char* url) override { events.push_back(std::string("started ") + url); }
    void onLoadFailed(const char* url) override { events.push_back(std::string("failed ") + url); }

private:
    Lifetimes& lifetimes;
    std::vector<std::string>& events;
};

class RecordingNotifier final : public VEQ::DestroyNotifier {
public:
    explicit RecordingNotifier(Lifetimes& lifetimes) : lifetimes(lifetimes) {}
    ~RecordingNotifier() override { lifetimes.destroyed++; }
    // Counts what a deleting destructor frees.
    static void operator delete(void* memory) {
        g_notifiersFreed++;
        ::operator delete(memory);
    }

    void onDestroy(BrowserClient* client) override {
        destroyedClient = client;
        userDataAtDestroy = client->getUserData("probe");
    }

    BrowserClient* destroyedClient = nullptr;
    void* userDataAtDestroy = nullptr;

private:
    Lifetimes& lifetimes;
};

class EchoHandler final : public VEQ::JSActionHandler {
public:
    void handleAction(const char* actionName, const char* argument, char** result) override {
        std::string reply = std::string("{\"") + actionName + "\":\"" + argument + "\"}";
        *result = XLoop::copyFreedByTheLibrary(reply);
        sourcesLeftFull += reply.empty() ? 0 : 1;
    }

    int sourcesLeftFull = 0;
};

class BrowserBoundaryTest : public ::testing::Test {
protected:
    void SetUp() override {
        veqpodReset();
        client = CreateBrowser(nullptr, nullptr, "1");
        ASSERT_NE(client, nullptr);
    }
    void TearDown() override {
        if (client != nullptr) veqpodDestroyClient(client);
    }

    void destroyClient() {
        veqpodDestroyClient(client);
        client = nullptr;
    }

    BrowserClient* client = nullptr;
};

TEST_F(BrowserBoundaryTest, UserDataClientCallsAndTheDestroyNotifierLandOnTheirSlots) {
    int value = 0;
    client->setUserData("probe", &value);
    client->executeScript("f();");
    client->loadURL("https://room.test/");
    client->setPageBusy(true);

    EXPECT_EQ(client->getUserData("probe"), &value);
    EXPECT_EQ(client->getUserData("never set"), nullptr);
    EXPECT_EQ(veqpod::calls(client), (std::vector<veqpod::ClientCall>{
                                         {"executeScript", "f();"},
                                         {"loadURL", "https://room.test/"},
                                         {"setPageBusy", "true"}}));

    // The destroy notifier sees the client and its user data; the module owns it.
    Lifetimes lifetimes;
    RecordingNotifier notifier(lifetimes);
    client->setDestroyNotifier(&notifier);
    BrowserClient* destroyed = client;
    destroyClient();
    EXPECT_EQ(notifier.destroyedClient, destroyed);
    EXPECT_EQ(notifier.userDataAtDestroy, &value);
    EXPECT_EQ(lifetimes.destroyed, 0);
}

TEST_F(BrowserBoundaryTest, PageLoadHandlerIsSharedAndDeletedOnceOnTheLastRelease) {
    Lifetimes lifetimes;
    std::vector<std::string> events;

    // The module lets go first: the library's reference keeps the handler.
    auto handler = std::make_shared<RecordingPageLoadHandler>(lifetimes, events);
    client->setPageLoadHandler(handler);
    handler.reset();
    EXPECT_EQ(lifetimes.destroyed, 0);
    veqpodFireLoadStarted(client, "a");
    veqpodFireLoadFinished(client, "b");
    veqpodFireLoadFailed(client, "c");
    EXPECT_EQ(events, (std::vector<std::string>{"started a", "finished b", "failed c"}));
    destroyClient();
    EXPECT_EQ(lifetimes.destroyed, 1);

    // The library lets go first: the module's reference keeps it.
    client = CreateBrowser(nullptr, nullptr, "1");
    handler = std::make_shared<RecordingPageLoadHandler>(lifetimes, events);
    client->setPageLoadHandler(handler);
    client->setPageLoadHandler(handler);  // a replaced reference is released too
    destroyClient();
    EXPECT_EQ(lifetimes.destroyed, 1);
    EXPECT_EQ(handler.use_count(), 1);
    handler.reset();
    EXPECT_EQ(lifetimes.destroyed, 2);
}

TEST_F(BrowserBoundaryTest, LibraryDeletesCallbackObjectsThroughTheirVirtualDestructor) {
    Lifetimes lifetimes;
    g_notifiersFreed = 0;
    veqpodDeleteNotifier(new RecordingNotifier(lifetimes), 1);
    EXPECT_EQ(lifetimes.destroyed, 1);
    EXPECT_EQ(g_notifiersFreed, 1);

    // Destroyed but not freed: the memory is still the caller's.
    void* storage = ::operator new(sizeof(RecordingNotifier));
    veqpodDeleteNotifier(new (storage) RecordingNotifier(lifetimes), 0);
    EXPECT_EQ(lifetimes.destroyed, 2);
    EXPECT_EQ(g_notifiersFreed, 1);
    ::operator delete(storage);
}

TEST_F(BrowserBoundaryTest, RepliesAreFreedByTheLibraryWithoutHarmingItsHeap) {
    EchoHandler handler;
    client->registerActionHandler("echo", &handler);
    std::string reply;

    for (int i = 0; i < 2000; ++i) {
        const std::string argument = "call " + std::to_string(i);
        ASSERT_TRUE(veqpod::invokeAction(client, "echo", argument.c_str(), &reply));
        ASSERT_EQ(reply, "{\"echo\":\"" + argument + "\"}");
    }

    EXPECT_TRUE(veqpodHeapIsValid());
    EXPECT_EQ(handler.sourcesLeftFull, 0);
    EXPECT_FALSE(veqpod::invokeAction(client, "unknown", "{}", &reply));
}

}  // namespace
