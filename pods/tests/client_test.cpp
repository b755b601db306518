// What a client keeps for the host, how it shows the busy state, and how it
// goes away.
#include <memory>
#include <string>
#include <vector>

#include "pods/tests/pod_test_support.h"

namespace veqpod_test {
namespace {

using Events = std::vector<std::string>;

// Writes what it sees at destruction into a shared list.
class RecordingNotifier : public VEQ::DestroyNotifier {
public:
    explicit RecordingNotifier(Events* log) : log(log) {}
    void onDestroy(BrowserClient* client) override {
        auto* name = static_cast<const char*>(client->getUserData("name"));
        log->push_back(std::string("destroyed ") + (name != nullptr ? name : "(none)"));
    }

private:
    Events* log;
};

// Notes when the library lets go of it.
class ReleaseNotingHandler : public VEQ::IPageLoadHandler {
public:
    explicit ReleaseNotingHandler(Events* log) : log(log) {}
    ~ReleaseNotingHandler() override { log->push_back("load handler released"); }
    void onLoadFinished(const char*) override {}
    void onLoadStarted(const char*) override {}
    void onLoadFailed(const char*) override {}

private:
    Events* log;
};

class ClientTest : public PodTest {
protected:
    Events log;
};

TEST_F(ClientTest, UserDataIsKeptPerKeyAndReplaced) {
    BrowserClient* client = createClient("about:blank");
    ASSERT_NE(client, nullptr);
    int first = 1;
    int second = 2;
    int other = 3;

    EXPECT_EQ(client->getUserData("key"), nullptr);
    EXPECT_TRUE(client->setUserData("key", &first));
    EXPECT_TRUE(client->setUserData("other", &other));
    EXPECT_TRUE(client->setUserData("key", &second));

    EXPECT_EQ(client->getUserData("key"), &second);
    EXPECT_EQ(client->getUserData("other"), &other);
    EXPECT_EQ(client->getUserData("Key"), nullptr);
}

TEST_F(ClientTest, TheNotifierRunsFirstWhileUserDataCanBeRead) {
    BrowserClient* client = createClient("about:blank");
    ASSERT_NE(client, nullptr);
    RecordingNotifier notifier(&log);
    client->setUserData("name", const_cast<char*>("room"));
    client->setDestroyNotifier(&notifier);
    client->setPageLoadHandler(std::make_shared<ReleaseNotingHandler>(&log));

    VEQPodDestroyBrowserClient(client);

    EXPECT_EQ(log, (Events{"destroyed room", "load handler released"}));
}

TEST_F(ClientTest, ShutdownDestroysEveryClientStillAliveOldestFirst) {
    RecordingNotifier notifier(&log);
    BrowserClient* first = createClient("about:blank");
    BrowserClient* second = createClient("about:blank");
    BrowserClient* gone = createClient("about:blank");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(gone, nullptr);
    first->setUserData("name", const_cast<char*>("first"));
    second->setUserData("name", const_cast<char*>("second"));
    gone->setUserData("name", const_cast<char*>("gone"));
    for (BrowserClient* client : {first, second, gone}) client->setDestroyNotifier(&notifier);
    VEQPodDestroyBrowserClient(gone);

    ShutdownBrowser();

    EXPECT_EQ(log, (Events{"destroyed gone", "destroyed first", "destroyed second"}));
    EXPECT_EQ(createClient("about:blank"), nullptr);
}

TEST_F(ClientTest, DestroyingTheHostContainerDestroysTheClientOnce) {
    void* window = makeHostContainer();
    BrowserClient* client = createClient("about:blank", window);
    ASSERT_NE(client, nullptr);
    RecordingNotifier notifier(&log);
    client->setUserData("name", const_cast<char*>("hosted"));
    client->setDestroyNotifier(&notifier);

    destroyHostContainer(window);
    VEQPodDestroyBrowserClient(client);
    ShutdownBrowser();

    EXPECT_EQ(log, (Events{"destroyed hosted"}));
}

TEST_F(ClientTest, AHostArgumentThatIsNoContainerGivesNoClient) {
    void* label = makeNonContainer();

    EXPECT_EQ(createClient("about:blank", label), nullptr);

    releaseNonContainer(label);
}

TEST_F(ClientTest, TheBusyStateShowsAnIndicatorOverThePage) {
    void* window = makeHostContainer();
    BrowserClient* client = createClient("about:blank", window);
    ASSERT_NE(client, nullptr);
    EXPECT_EQ(busyIndicatorShows(window), false);

    client->setPageBusy(true);
    EXPECT_EQ(busyIndicatorShows(window), true);
    client->setPageBusy(false);
    EXPECT_EQ(busyIndicatorShows(window), false);

    VEQPodDestroyBrowserClient(client);
    EXPECT_TRUE(runUntil([&] { return holdsNoClient(window); }));
    destroyHostContainer(window);
}

}  // namespace
}  // namespace veqpod_test
