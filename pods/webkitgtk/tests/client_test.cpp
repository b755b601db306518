// What a client keeps for the host, how it shows the busy state, and how it
// goes away.
#include <memory>
#include <string>
#include <vector>

#include <gtk/gtk.h>

#include "pods/webkitgtk/tests/pod_test_support.h"

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

GtkWidget* findSpinner(GtkWidget* window) {
    GtkWidget* frame = gtk_bin_get_child(GTK_BIN(window));
    GtkWidget* spinner = nullptr;
    if (frame == nullptr || !GTK_IS_CONTAINER(frame)) return nullptr;
    gtk_container_foreach(
        GTK_CONTAINER(frame),
        [](GtkWidget* child, gpointer found) {
            if (GTK_IS_SPINNER(child)) *static_cast<GtkWidget**>(found) = child;
        },
        &spinner);
    return spinner;
}

bool isSpinning(GtkWidget* spinner) {
    gboolean active = FALSE;
    g_object_get(spinner, "active", &active, nullptr);
    return gtk_widget_get_visible(spinner) && active;
}

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
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_widget_show(window);
    BrowserClient* client = createClient("about:blank", window);
    ASSERT_NE(client, nullptr);
    RecordingNotifier notifier(&log);
    client->setUserData("name", const_cast<char*>("hosted"));
    client->setDestroyNotifier(&notifier);

    gtk_widget_destroy(window);
    VEQPodDestroyBrowserClient(client);
    ShutdownBrowser();

    EXPECT_EQ(log, (Events{"destroyed hosted"}));
}

TEST_F(ClientTest, AHostArgumentThatIsNoContainerGivesNoClient) {
    GtkWidget* label = gtk_label_new("not a container");
    g_object_ref_sink(label);

    EXPECT_EQ(createClient("about:blank", label), nullptr);

    g_object_unref(label);
}

TEST_F(ClientTest, TheBusyStateShowsASpinnerOverThePage) {
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_widget_show(window);
    BrowserClient* client = createClient("about:blank", window);
    ASSERT_NE(client, nullptr);
    GtkWidget* spinner = findSpinner(window);
    ASSERT_NE(spinner, nullptr);
    EXPECT_FALSE(isSpinning(spinner));

    client->setPageBusy(true);
    EXPECT_TRUE(isSpinning(spinner));
    client->setPageBusy(false);
    EXPECT_FALSE(isSpinning(spinner));

    VEQPodDestroyBrowserClient(client);
    EXPECT_EQ(gtk_bin_get_child(GTK_BIN(window)), nullptr);
    gtk_widget_destroy(window);
}

}  // namespace
}  // namespace veqpod_test
