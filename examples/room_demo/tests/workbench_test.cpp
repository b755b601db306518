// The workbench driven like a page author would: a page folder of the test's
// own, the panel's buttons, and what the panel lists.
#include <cairo.h>

#include <fstream>
#include <memory>
#include <set>

#include <gtest/gtest.h>

#include "examples/room_demo/workbench.h"
#include "pods/tests/engine_loop.h"
#include "tests/test_support.h"

namespace xloop_demo_test {
namespace {

using veqpod_test::runUntil;
using Button = xloop_demo::WorkbenchPanel::Button;
using Section = xloop_demo::WorkbenchPanel::Section;

const char kRoomPage[] = R"(<!DOCTYPE html><meta charset="utf-8"><title>author's room</title><script>
window.initXLoopRoom = async (text) => {
  const payload = JSON.parse(decodeURIComponent(text));
  const seen = await window.veq.invoke("readPreference", {key: "seen", defaultValue: "never"});
  await window.veq.invoke("writePreference", {key: "seen", value: `${payload.product} ${seen.seen}`});
};
window.setUpdateInfo = () => {};
window.xloopRoomVisited = () =>
  window.veq.invoke("writeLastViewedCardID", {key: "lastViewedCardID", value: "card-7"});
</script>)";

class WorkbenchTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!gtk_init_check(nullptr, nullptr)) GTEST_SKIP() << "no display: run under xvfb-run";
        std::ofstream(pages.path() / "room.html") << kRoomPage;
        options.pagesFolder = pages.path();
    }

    void open() { bench = std::make_unique<xloop_demo::Workbench>(options); }
    bool lists(Section section, const std::string& fragment) {
        return runUntil([&] { return bench->panel().text(section).find(fragment) != std::string::npos; });
    }
    void press(Button button) { gtk_button_clicked(bench->panel().button(button)); }
    bool canPress(Button button) { return gtk_widget_get_sensitive(GTK_WIDGET(bench->panel().button(button))); }

    xloop_test::TempFolder pages;
    xloop_demo::WorkbenchOptions options;
    std::unique_ptr<xloop_demo::Workbench> bench;
};

TEST_F(WorkbenchTest, ThePanelListsThePayloadEveryCallThePreferencesAndTheLog) {
    options.product = "Studio";
    options.locale = "de_DE";
    open();

    ASSERT_TRUE(lists(Section::Calls, R"(← writePreference {"key":"seen","value":"Studio never"} ⇒ {})"));
    EXPECT_TRUE(lists(Section::Calls, R"(← readPreference {"key":"seen","defaultValue":"never"} ⇒ {"seen":"never"})"));
    EXPECT_TRUE(lists(Section::InitPayload, "  \"locale\": \"de_de\",\n  \"preferences\": {\n    \"lastViewedCardID\": \"\"\n  },"));
    EXPECT_TRUE(lists(Section::Preferences, "seen = Studio never"));
    EXPECT_TRUE(lists(Section::Log, "(VEQ): Got action writePreference (seen=Studio never)"));

    press(Button::SendUpdates);
    EXPECT_TRUE(lists(Section::Calls, R"("updateRefIds":["upd-1701","upd-1702","upd-1703"]}))"));
    press(Button::EnterRoom);
    EXPECT_TRUE(lists(Section::Calls, "→ xloopRoomVisited();"));
    EXPECT_TRUE(lists(Section::Preferences, "lastViewedCardID = card-7"));

    // A later load carries all of it, the nested objects decoded.
    bench->room()->executeScript("location.reload();");
    EXPECT_TRUE(lists(Section::InitPayload, "  \"isXloopViewForced\": \"yes\","));
    EXPECT_TRUE(lists(Section::InitPayload, "    \"seen\": \"Studio never\""));
    EXPECT_TRUE(lists(Section::InitPayload, "    \"updateNames\": [\n      \"Colour profiles 17.0.1\","));
}

TEST_F(WorkbenchTest, TheServerGoesDownForTheOfflinePageAndARetryFindsItUpAgain) {
    const char pressRetry[] = "document.getElementById('retry').click();";
    open();
    ASSERT_TRUE(lists(Section::InitPayload, "\"product\": \"XLoopDemo\""));
    EXPECT_FALSE(canPress(Button::ServerUp));

    press(Button::ServerDown);
    ASSERT_TRUE(lists(Section::Calls, "/xLoop_Offline.html"));
    EXPECT_EQ(bench->panel().text(Section::InitPayload).find("product"), std::string::npos);
    EXPECT_TRUE(canPress(Button::ServerUp));
    EXPECT_FALSE(canPress(Button::ServerDown));
    bench->room()->executeScript(pressRetry);
    ASSERT_TRUE(lists(Section::Calls, "← retryGetOnline {} ⇒ {}"));
    ASSERT_TRUE(lists(Section::Calls, "→ onRetryComplete();"));

    press(Button::ServerUp);
    bench->room()->executeScript(pressRetry);
    EXPECT_TRUE(lists(Section::Log, "Retry is now complete with result : 1"));
    EXPECT_TRUE(lists(Section::InitPayload, "\"product\": \"XLoopDemo\""));
}

// The number of distinct colours in a part of a PNG file; 0 when it cannot be read.
size_t distinctColours(const std::string& pngPath, int fromX, int toX) {
    cairo_surface_t* image = cairo_image_surface_create_from_png(pngPath.c_str());
    std::set<uint32_t> colours;
    if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS) {
        const int stride = cairo_image_surface_get_stride(image);
        const unsigned char* data = cairo_image_surface_get_data(image);
        for (int y = 0; y < cairo_image_surface_get_height(image); ++y) {
            auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
            for (int x = fromX; x < std::min(toX, cairo_image_surface_get_width(image)); ++x) {
                colours.insert(row[x] & 0xFFFFFF);
            }
        }
    }
    cairo_surface_destroy(image);
    return colours.size();
}

TEST_F(WorkbenchTest, TheScreenshotShowsTheEnteredSampleRoomBesideThePanel) {
    options = {};
    open();
    ASSERT_TRUE(lists(Section::Log, "xloop-room-demo: room shown"));
    press(Button::EnterRoom);
    ASSERT_TRUE(lists(Section::Log, "xloop-room-demo: room entered"));
    const std::string png = (pages.path() / "window.png").string();
    int saved = -1;

    bench->saveScreenshot(png, [&](bool done) { saved = done ? 1 : 0; });

    ASSERT_TRUE(runUntil([&] { return saved >= 0; }));
    ASSERT_EQ(saved, 1);
    // Text, tables and buttons give many colours; a blank area gives one.
    EXPECT_GT(distinctColours(png, 0, 600), 20u);
    EXPECT_GT(distinctColours(png, 800, 1280), 20u);
}

using AfterPaint = std::pair<gulong, std::function<void()>>;

void painted(GdkFrameClock* clock, gpointer data) {
    std::unique_ptr<AfterPaint> waiting(static_cast<AfterPaint*>(data));
    g_signal_handler_disconnect(clock, waiting->first);
    waiting->second();
}

// Runs run once, right after the window painted a frame.
void afterNextPaint(GtkWidget* window, std::function<void()> run) {
    GdkFrameClock* clock = gtk_widget_get_frame_clock(window);
    auto* waiting = new AfterPaint(0, std::move(run));
    waiting->first = g_signal_connect(clock, "after-paint", G_CALLBACK(painted), waiting);
    gtk_widget_queue_draw(window);
}

// A line the panel gets leaves it to be laid out again before the next
// frame; a screenshot taken right then must still show the panel, each time.
// With the kill switch on there is no room snapshot to wait for, so nothing
// but the screenshot's own care lets a frame pass first.
TEST_F(WorkbenchTest, EveryScreenshotShowsThePanelDrawn) {
    options.config = (pages.path() / "VEQConfig.xml").string();
    std::ofstream(options.config)
        << R"(<veqconfig><defaults killswitch="on" url="{server}/" serverurl=""/></veqconfig>)";
    open();
    ASSERT_EQ(bench->room(), nullptr);
    GtkWidget* window = gtk_widget_get_toplevel(bench->panel().widget());
    const std::string png = (pages.path() / "window.png").string();
    for (int shot = 1; shot <= 10; ++shot) {
        int saved = -1;
        afterNextPaint(window, [&] {
            bench->panel().append(Section::Log, "screenshot " + std::to_string(shot));
            bench->saveScreenshot(png, [&](bool done) { saved = done ? 1 : 0; });
        });
        ASSERT_TRUE(runUntil([&] { return saved >= 0; }));
        ASSERT_EQ(saved, 1);
        EXPECT_GT(distinctColours(png, 800, 1280), 20u) << "screenshot " << shot;
    }
}

}  // namespace
}  // namespace xloop_demo_test
