// The room-state exports: the forced room view, kept as a preference, and
// the room entered in a browser, kept for that browser's life.
#include <gtest/gtest.h>

#include "page/last_viewed_card_action_handler.h"
#include "prefs/preference_stores.h"
#include "testing/veqpod/veqpod_control.h"
#include "tests/preferences_files.h"
#include "tests/room_support.h"
#include "tests/test_support.h"
#include "xloop/xloop_client.h"

using namespace xloop_test;

namespace {

TEST(ViewForcedTest, IsAPreferenceThatReadsFalseUntilSetAndPersists) {
    TempFolder userData;
    const std::string folder = userData.path().u8string();
    LogCapture log;
    EXPECT_FALSE(IsXLoopViewForced(folder.c_str(), "en_US"));
    EXPECT_EQ(loadedPreferences(userData.path(), "en_US").at("forcexloopview"), "false");

    SetXloopViewForced(true, folder.c_str(), "en_US");
    EXPECT_TRUE(IsXLoopViewForced(folder.c_str(), "en_US"));
    EXPECT_EQ(loadedPreferences(userData.path(), "en_US").at("forcexloopview"), "true");
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"(VEQ): Reading XLoop View Forced Preference: false",
                                                     "(VEQ): Setting XloopViewForced to 1",
                                                     "(VEQ): Reading XLoop View Forced Preference: true"}));
    // Stores are told apart as the file system tells their folders apart.
#if defined(_WIN32)
    EXPECT_TRUE(IsXLoopViewForced(folder.c_str(), "EN_us"));
#else
    EXPECT_FALSE(IsXLoopViewForced(folder.c_str(), "EN_us"));
#endif

    // Only the exact text "true" forces the view.
    auto store = VEQ::getPreferenceStore(folder, "en_US");
    for (const char* value : {"True", "TRUE", "1", "yes", " true", ""}) {
        store->setPreference("forcexloopview", value);
        EXPECT_FALSE(IsXLoopViewForced(folder.c_str(), "en_US")) << value;
    }
    SetXloopViewForced(false, folder.c_str(), "en_US");
    EXPECT_EQ(store->getPreference("forcexloopview", ""), "false");
}

TEST(ViewForcedTest, WithoutAFolderOrLocaleNothingIsKeptAndTheViewIsNotForced) {
    TempFolder userData;
    const std::string folder = userData.path().u8string();
    for (auto [path, locale] : {std::pair<const char*, const char*>{nullptr, "en_US"},
                                {folder.c_str(), nullptr}, {"", "en_US"}, {folder.c_str(), ""}}) {
        SetXloopViewForced(true, path, locale);
        EXPECT_FALSE(IsXLoopViewForced(path, locale));
    }
    EXPECT_TRUE(std::filesystem::is_empty(userData.path()));
}

TEST(RoomVisitedTest, TheFirstNoticeFlushesAndEveryNoticeTellsThePage) {
    InitializeVEQ(nullptr);
    TempFolder userData;
    VEQ::XLoopWriteLastViewedCardIDActionHandler handler{userData.path().u8string(), "en_us"};
    BrowserClient* client = CreateBrowser(nullptr, nullptr, "1");
    client->setUserData("writeLastViewedCardID", &handler);
    RoomRecord record;
    record.room("https://room.test/veqtemplate/", userData.path());
    showPage(client, record.get(), record->url);
    const auto shown = static_cast<std::ptrdiff_t>(veqpodCallCount(client));
    LogCapture log;
    EXPECT_FALSE(IsXloopRoomVisited(client));
    EXPECT_FALSE(IsXloopRoomVisited(nullptr));
    NotifyXLoopRoomVisited(nullptr);

    NotifyXLoopRoomVisited(client);
    EXPECT_TRUE(IsXloopRoomVisited(client));
    NotifyXLoopRoomVisited(client);

    EXPECT_TRUE(IsXloopRoomVisited(client));
    EXPECT_EQ(log.lines(), std::vector<std::string>{"(VEQ): Entered XLoop for the first time"});
    const auto calls = veqpod::calls(client);
    EXPECT_EQ(std::vector<veqpod::ClientCall>(calls.begin() + shown, calls.end()),
              (std::vector<veqpod::ClientCall>{{"executeScript", "xloopRoomVisited();"},
                                               {"executeScript", "xloopRoomVisited();"}}));
    EXPECT_EQ(client->getUserData("eXLoopRoomVisited"), reinterpret_cast<void*>(1));
    veqpodDestroyClient(client);
    ShutDownVEQ();
}

}  // namespace
