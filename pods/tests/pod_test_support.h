// Helpers for driving a browser library through its interface.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pods/tests/engine_driver.h"
#include "pods/tests/engine_loop.h"
#include "pods/common/veqpod_extras.h"
#include "testing/http_test_server.h"
#include "tests/test_support.h"

namespace veqpod_test {

using xloop_test::TempFolder;

// Starts the library for each test and shuts it down afterwards. Without a
// display (outside xvfb-run) the test is skipped.
class PodTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    bool started = false;
};

// A plain client in its own window, showing url.
BrowserClient* createClient(const std::string& url, void* hostContainer = nullptr);

// Records load events as "started <url>", "finished <url>", "failed <url>".
class RecordingLoadHandler : public VEQ::IPageLoadHandler {
public:
    void onLoadFinished(const char* url) override;
    void onLoadStarted(const char* url) override;
    void onLoadFailed(const char* url) override;
    bool saw(const std::string& event) const;

    std::vector<std::string> events;
    // Runs after a failure is recorded, as the module's fallback would.
    std::function<void()> afterFailure;
};

// Records every invocation and answers with a fixed reply text.
class RecordingActionHandler : public VEQ::JSActionHandler {
public:
    explicit RecordingActionHandler(std::string reply = "{}") : reply(std::move(reply)) {}
    void handleAction(const char* actionName, const char* argument, char** result) override;

    struct Invocation {
        std::string actionName;
        std::string argument;
    };
    std::vector<Invocation> invocations;
    std::string reply;
};

// Standard error goes to a file while it lives, so that a test can read the
// library's lines.
class CapturedStderr {
public:
    CapturedStderr();
    ~CapturedStderr();
    CapturedStderr(const CapturedStderr&) = delete;
    CapturedStderr& operator=(const CapturedStderr&) = delete;
    // Runs the main loop until a line containing text was written.
    ::testing::AssertionResult awaitLine(const std::string& text);
    // Runs the main loop until one line holds the pieces in this order; a
    // failure shows what was written.
    ::testing::AssertionResult awaitLineWith(const std::vector<std::string>& pieces);

private:
    TempFolder folder;
    int savedStderr;
};

// An HTML page on the loopback server.
xloop_test::HttpRoute htmlPage(const std::string& body);

// What a VEQPodSaveSnapshot call reported; noteSnapshot is the callback
// that fills the outcome it is given.
struct SnapshotOutcome {
    bool done = false;
    int saved = 0;
};
void noteSnapshot(int saved, void* context);

// The size of a PNG file's image, its pixels of one RGB colour and its
// distinct colours; all zero when it cannot be read.
struct PixelSummary {
    int width = 0;
    int height = 0;
    long pixelsOfColour = 0;
    size_t distinctColours = 0;
};
PixelSummary summarise(const std::string& pngPath, uint32_t rgb = 0);

}  // namespace veqpod_test
