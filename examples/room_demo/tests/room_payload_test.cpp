// The sample room page in the real browser: it receives "initXLoopRoom",
// parses the payload and reports what it parsed through "writePreference".
#include <nlohmann/json.hpp>

#include "examples/room_demo/tests/room_host_test.h"

namespace xloop_demo_test {
namespace {

using nlohmann::json;

TEST_F(RoomHostTest, TheRoomLoadsAfterTheCheckAndReportsThePayloadItParsed) {
    resolveConfiguration();
    BrowserClient* room = openRoom();
    ASSERT_NE(room, nullptr);
    const char* const refIds[] = {"a1", "b2"};
    const char* const names[] = {"Colour 100%", "Pinsel für alle"};
    const char* const descriptions[] = {"Fixes & more", "Ünïcode 😀"};
    SetUpdateInfo(room, 2, refIds, names, descriptions);

    ASSERT_TRUE(runUntil([] { return linesWith(kRoomShown) > 0; }));

    const std::string roomURL = config->url;
    const int accessible = firstLineWith("URL " + roomURL + " is accessible");
    ASSERT_GE(accessible, 0);
    EXPECT_LT(accessible, firstLineWith("Page load finished for " + roomURL));
    const auto stored = storedPreferences();
    ASSERT_EQ(stored.count("lastReceived"), 1u);
    json expected = json::parse(R"({"product": "XLoopDemo", "version": "17.0", "locale": "en_us",
        "installationType": "trial", "isWindows": "yes", "isMASBuild": "no", "isWASBuild": "no", "lastViewedCardID": "",
        "updates": [{"id": "a1", "name": "Colour 100%", "description": "Fixes & more"},
                    {"id": "b2", "name": "Pinsel für alle", "description": "Ünïcode 😀"}],
        "preferenceKeys": []})");
    for (const auto& [key, value] : stored) {
        if (key != "lastReceived" && key != "visitCount") expected["preferenceKeys"].push_back(key);
    }
    EXPECT_EQ(json::parse(stored.at("lastReceived")), expected);
}

TEST_F(RoomHostTest, TheRoomCountsItsVisitsThroughReadAndWritePreference) {
    resolveConfiguration();
    BrowserClient* room = openRoom();
    ASSERT_NE(room, nullptr);
    ASSERT_TRUE(runUntil([] { return linesWith(kRoomShown) == 1; }));

    room->executeScript("location.reload();");

    ASSERT_TRUE(runUntil([] { return linesWith(kRoomShown) == 2; }));
    const auto stored = storedPreferences();
    EXPECT_EQ(stored.at("visitCount"), "2");
    const json received = json::parse(stored.at("lastReceived"));
    json storedKeys = json::array();
    for (const auto& [key, value] : stored) storedKeys.push_back(key);
    EXPECT_EQ(received.at("preferenceKeys"), storedKeys);
}

}  // namespace
}  // namespace xloop_demo_test
