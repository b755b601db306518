// "openURI": which links the page may open, and how they reach the user's
// default application (fake openers record them; under wine a link reaches
// them through ShellExecuteW and winebrowser).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "page/link_shape.h"
#include "page/uri_opening.h"
#include "platform/open_uri.h"
#include "page/xloop_action_handler.h"
#include "testing/veqpod/veqpod_control.h"
#include "tests/preferences_files.h"
#include "tests/test_support.h"
#include "xloop/xloop_client.h"

#if !defined(_WIN32)
#include <unistd.h>
#endif

using namespace xloop_test;

namespace {

TEST(UriPolicyTest, OnlyWebAndMailLinksMayBeOpened) {
    for (const char* allowed : {"http://example.test/", "HTTPS://example.test/a?b=c#d", "mailto:someone@example.test",
                                "Https://example.test/caf\xc3\xa9",
                                "mailto:a@example.test?subject=Hi&BODY=x%20y&Cc=b@example.test&bcc=c@example.test&to="})
        EXPECT_TRUE(XLoop::mayOpenURI(allowed)) << allowed;
    for (const char* refused : {"file:///etc/passwd", "FILE:///C:/Windows/System32/calc.exe",
                                "C:\\Windows\\System32\\calc.exe", "\\\\server\\share\\setup.exe", "/usr/bin/xterm",
                                "calc.exe", "javascript:alert(1)", "data:text/html,<b>x</b>", "ms-settings:",
                                "httpx://example.test/", "http", ":http://example.test/", " http://example.test/",
                                "http://example.test/a b", "http://example.test/\"--new-window", "http://a\nb",
                                "shell:startup", "vbscript:x", "https\\://x",
                                // Mail programs attach local files named in a link.
                                "mailto:a@example.test?attach=/home/u/.ssh/id_rsa",
                                "MAILTO:a@example.test?subject=x&Attachment=C:/Users/u/key.pem",
                                "mailto:a@example.test?%61ttach=/etc/passwd", "mailto:a@example.test?body=x&from=y",
                                "mailto:a@example.test?subject=x;attach=/etc/passwd"})
        EXPECT_FALSE(XLoop::mayOpenURI(refused)) << refused;
    EXPECT_TRUE(XLoop::mayOpenURI("mailto:a@example.test?subject=x;body=y"));
    // The reason names what is wrong with the link.
    EXPECT_STREQ(XLoop::refusalOfURI("https://example.test/a b"), "it holds a blank, a control byte or a double quote");
}

TEST(UriPolicyTest, LongLinksAndStrayPercentSignsAreRefusedWhateverTheScheme) {
    const std::string base = "https://example.test/";
    const std::string longest = base + std::string(XLoop::kMaxLinkBytes - base.size(), 'a');
    for (const std::string& shaped : {longest, base + "%41%e9%7E", base + "a%20"})
        EXPECT_EQ(XLoop::linkShapeRefusal(shaped), nullptr) << shaped;
    for (const std::string& refused : {longest + "a", base + "%USERPROFILE%", base + "%4", base + "a%", base + "%g1"})
        EXPECT_NE(XLoop::linkShapeRefusal(refused), nullptr) << refused;
}

TEST(LinkBudgetTest, ABurstOfLinksThenAboutOneASecond) {
    using namespace std::chrono_literals;
    XLoop::LinkBudget budget;
    const auto start = XLoop::LinkBudget::Clock::now();
    for (int i = 0; i < XLoop::LinkBudget::kBurst; ++i) EXPECT_TRUE(budget.take(start)) << i;
    EXPECT_FALSE(budget.take(start + 900ms));
    EXPECT_TRUE(budget.take(start + 1s));
    EXPECT_FALSE(budget.take(start + 1500ms));
    // A long pause refills the burst, not more.
    for (int i = 0; i < XLoop::LinkBudget::kBurst; ++i) EXPECT_TRUE(budget.take(start + 1h)) << i;
    EXPECT_FALSE(budget.take(start + 1h));
}

// The links the fake openers that ctest puts first on PATH were given,
// sorted: openers run side by side.
class FakeOpeners {
public:
    FakeOpeners() { std::filesystem::remove(record); }

    std::vector<std::string> opened() const {
        std::istringstream lines(fileBytes(record));
        std::vector<std::string> uris;
        for (std::string line; std::getline(lines, line);) uris.push_back(line);
        std::sort(uris.begin(), uris.end());
        return uris;
    }

private:
#if defined(_WIN32)
    // Wine shows the Unix root as drive Z:.
    const std::filesystem::path record = std::filesystem::path("Z:" XLOOP_FAKE_OPENER_DIR) / "opened.txt";
#else
    const std::filesystem::path record = std::filesystem::path(XLOOP_FAKE_OPENER_DIR) / "opened.txt";
#endif
};

#if !defined(_WIN32)
// Processes this one started that have not been reaped yet.
int unreapedChildren() {
    int children = 0;
    const std::string parent = "PPid:\t" + std::to_string(getpid());
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream status(entry.path() / "status");
        for (std::string line; std::getline(status, line);) children += line == parent;
    }
    return children;
}
#endif

class OpenUriActionTest : public ::testing::Test {
protected:
    void SetUp() override {
        client = CreateBrowser(nullptr, nullptr, "1");
        client->registerActionHandler("openURI", &handler);
    }
    void TearDown() override { veqpodDestroyClient(client); }

    void open(const std::string& uri) {
        std::string reply;
        const std::string arguments = "{\"uri\":\"" + uri + "\"}";
        ASSERT_TRUE(veqpod::invokeAction(client, "openURI", arguments.c_str(), &reply));
        EXPECT_EQ(reply, "{}");
    }

    VEQ::XloopActionHandler handler{"", ""};
    BrowserClient* client = nullptr;
};

TEST_F(OpenUriActionTest, AllowedLinksReachTheDefaultApplicationAndEveryOpenerIsReaped) {
    FakeOpeners opener;
    LogCapture log;
    open("file:///etc/passwd");
    // Refused links leave the budget of links for those that may be opened.
    for (int i = 0; i < XLoop::LinkBudget::kBurst; ++i) open("mailto:a@example.test?attach=/etc/passwd");
    open("https://example.test/a?b=c");
    open("mailto:someone@example.test");

    ASSERT_TRUE(waitUntil([&] { return opener.opened().size() == 2; }));
    EXPECT_EQ(opener.opened(), (std::vector<std::string>{"https://example.test/a?b=c", "mailto:someone@example.test"}));
    EXPECT_TRUE(log.contains("(VEQ): Got action openURI (file:///etc/passwd)"));
    EXPECT_TRUE(log.contains(
        "(VEQ): Refused to open file:///etc/passwd: only http, https and mailto links with the fields of a message "
        "are opened"));
    EXPECT_TRUE(log.contains("(VEQ): Got action openURI (https://example.test/a?b=c)"));
#if !defined(_WIN32)
    EXPECT_TRUE(waitUntil([] { return unreapedChildren() == 0; }));
#endif
}

TEST_F(OpenUriActionTest, MisshapenLinksAreRefusedWithALineBeforeTheyCostTheBudget) {
    FakeOpeners opener;
    LogCapture log;
    for (int i = 0; i < XLoop::LinkBudget::kBurst; ++i) open("https://example.test/%USERPROFILE%");
    open("https://example.test/" + std::string(XLoop::kMaxLinkBytes, 'a'));
    open("https://example.test/ok");
    ASSERT_TRUE(waitUntil([&] { return opener.opened().size() == 1; }));
    EXPECT_EQ(opener.opened(), (std::vector<std::string>{"https://example.test/ok"}));
    EXPECT_TRUE(log.contains(
        "(VEQ): Refused to open https://example.test/%USERPROFILE%: a % in it starts no two-digit escape"));
}

#if defined(_WIN32)
// The shell reports an unopenable link as a value instead of a dialog that
// would wait for the user on the UI thread.
TEST(OpenUriShellTest, ALinkTheShellCannotOpenFailsWithoutADialog) {
    const XLoop::platform::StepResult opened = XLoop::platform::openUri("xloop-no-such-scheme:x");
    EXPECT_FALSE(opened.ok);
    EXPECT_STREQ(opened.step, "ShellExecuteExW");
}
#endif

#if !defined(_WIN32)
TEST_F(OpenUriActionTest, AMissingOpenerIsLogged) {
    const char* path = std::getenv("PATH");
    const std::string oldPath = path != nullptr ? path : "";
    TempFolder empty;
    setenv("PATH", empty.path().string().c_str(), 1);
    LogCapture log;
    open("https://example.test/");
    setenv("PATH", oldPath.c_str(), 1);
    EXPECT_TRUE(log.contains("(VEQ): Could not open https://example.test/: posix_spawnp failed with 2"));
}
#endif

}  // namespace
