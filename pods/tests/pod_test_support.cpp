#include "pods/tests/pod_test_support.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <new>
#include <set>

#include <cairo.h>
#include <fcntl.h>
#include <unistd.h>

namespace veqpod_test {

void PodTest::SetUp() {
    if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
        GTEST_SKIP() << "no display: run under xvfb-run";
    }
    ASSERT_EQ(InitializeBrowser(nullptr), 1);
    started = true;
}

void PodTest::TearDown() {
    if (started) ShutdownBrowser();
}

BrowserClient* createClient(const std::string& url, void* hostContainer) {
    BrowserInitData initData{url.c_str(), "", 125, 125, 125};
    return CreateBrowserClientWithInitData(hostContainer, nullptr, 1, &initData);
}

void RecordingLoadHandler::onLoadFinished(const char* url) {
    events.push_back(std::string("finished ") + url);
}

void RecordingLoadHandler::onLoadStarted(const char* url) {
    events.push_back(std::string("started ") + url);
}

void RecordingLoadHandler::onLoadFailed(const char* url) {
    events.push_back(std::string("failed ") + url);
    if (afterFailure) afterFailure();
}

bool RecordingLoadHandler::saw(const std::string& event) const {
    return std::find(events.begin(), events.end(), event) != events.end();
}

void RecordingActionHandler::handleAction(const char* actionName, const char* argument,
                                          char** result) {
    invocations.push_back({actionName, argument});
    auto* text = static_cast<char*>(::operator new(reply.size() + 1));
    std::copy(reply.c_str(), reply.c_str() + reply.size() + 1, text);
    *result = text;
}

void noteSnapshot(int saved, void* context) {
    auto* outcome = static_cast<SnapshotOutcome*>(context);
    outcome->done = true;
    outcome->saved = saved;
}

PixelSummary summarise(const std::string& pngPath, uint32_t rgb) {
    PixelSummary summary;
    cairo_surface_t* image = cairo_image_surface_create_from_png(pngPath.c_str());
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(image);
        return summary;
    }
    summary.width = cairo_image_surface_get_width(image);
    summary.height = cairo_image_surface_get_height(image);
    int stride = cairo_image_surface_get_stride(image);
    const unsigned char* data = cairo_image_surface_get_data(image);
    std::set<uint32_t> colours;
    for (int y = 0; y < summary.height; ++y) {
        auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
        for (int x = 0; x < summary.width; ++x) {
            uint32_t colour = row[x] & 0xFFFFFF;
            colours.insert(colour);
            if (colour == rgb) summary.pixelsOfColour++;
        }
    }
    summary.distinctColours = colours.size();
    cairo_surface_destroy(image);
    return summary;
}

CapturedStderr::CapturedStderr() : savedStderr(dup(STDERR_FILENO)) {
    const int file = open((folder.path() / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(file, STDERR_FILENO);
    close(file);
}

CapturedStderr::~CapturedStderr() {
    dup2(savedStderr, STDERR_FILENO);
    close(savedStderr);
}

::testing::AssertionResult CapturedStderr::awaitLine(const std::string& text) {
    return awaitLineWith({text});
}

::testing::AssertionResult CapturedStderr::awaitLineWith(const std::vector<std::string>& pieces) {
    std::string written;
    const bool found = runUntil([&] {
        std::ifstream file(folder.path() / "stderr");
        written.clear();
        for (std::string line; std::getline(file, line); written += line + "\n") {
            size_t at = 0;
            for (const std::string& piece : pieces) {
                at = line.find(piece, at);
                if (at == std::string::npos) break;
                at += piece.size();
            }
            if (at != std::string::npos) return true;
        }
        return false;
    });
    if (found) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "standard error:\n" << written;
}

xloop_test::HttpRoute htmlPage(const std::string& body) {
    xloop_test::HttpRoute route;
    route.body = body;
    route.headers = {{"Content-Type", "text/html; charset=utf-8"}};
    return route;
}

}  // namespace veqpod_test
