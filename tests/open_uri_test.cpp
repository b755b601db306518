// "openURI": which links the page may open, and how they reach the user's
// default application (a fake xdg-open first on PATH records them; under
// wine the link reaches it through winebrowser).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "page/uri_opening.h"
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
                                "Https://example.test/caf\xc3\xa9"})
        EXPECT_TRUE(XLoop::mayOpenURI(allowed)) << allowed;
    for (const char* refused : {"file:///etc/passwd", "FILE:///C:/Windows/System32/calc.exe",
                                "C:\\Windows\\System32\\calc.exe", "\\\\server\\share\\setup.exe", "/usr/bin/xterm",
                                "calc.exe", "javascript:alert(1)", "data:text/html,<b>x</b>", "ms-settings:",
                                "httpx://example.test/", "http", ":http://example.test/", " http://example.test/",
                                "http://example.test/a b", "http://example.test/\" --new-window", "http://a\nb",
                                "shell:startup", "vbscript:x", "https\\://x"})
        EXPECT_FALSE(XLoop::mayOpenURI(refused)) << refused;
}

// A fake xdg-open first on PATH that appends each URI it is given to a file.
class FakeOpener {
public:
    FakeOpener() : record(folder.path() / "opened.txt") {
        const auto script = folder.path() / "xdg-open";
        std::ofstream(script) << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" << record.string() << "'\n";
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        const char* path = std::getenv("PATH");
        oldPath = path != nullptr ? path : "";
        setenv("PATH", (folder.path().string() + ":" + oldPath).c_str(), 1);
    }
    ~FakeOpener() { setenv("PATH", oldPath.c_str(), 1); }

    // The URIs opened so far, sorted: openers run side by side.
    std::vector<std::string> opened() const {
        std::istringstream lines(fileBytes(record));
        std::vector<std::string> uris;
        for (std::string line; std::getline(lines, line);) uris.push_back(line);
        std::sort(uris.begin(), uris.end());
        return uris;
    }

private:
    TempFolder folder;
    std::filesystem::path record;
    std::string oldPath;
};

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
    FakeOpener opener;
    LogCapture log;
    open("file:///etc/passwd");
    open("javascript:alert(1)");
    open("https://example.test/a?b=c");
    open("mailto:someone@example.test");

    ASSERT_TRUE(runUiTasksUntil([&] { return opener.opened().size() == 2; }));
    EXPECT_EQ(opener.opened(), (std::vector<std::string>{"https://example.test/a?b=c", "mailto:someone@example.test"}));
    EXPECT_TRUE(log.contains("(VEQ): Got action openURI (file:///etc/passwd)"));
    EXPECT_TRUE(log.contains(
        "(VEQ): Refused to open file:///etc/passwd: only http, https and mailto links are opened"));
    EXPECT_TRUE(log.contains("(VEQ): Got action openURI (https://example.test/a?b=c)"));
    EXPECT_TRUE(runUiTasksUntil([] { return unreapedChildren() == 0; }));
}

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

}  // namespace
