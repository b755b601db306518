// A preference with quotes, backslashes, non-ASCII and astral characters
// goes from the page through the module into the file and back to the page.
#include "examples/room_demo/tests/room_host_test.h"

namespace xloop_demo_test {
namespace {

// The same text as the page script below writes it.
const std::string kAwkward = u8"say \"hi\" \\ C:\\temp\\ é ü ß 日本 😀 𝄞 %41 &amp; <b>";

const char kWriteAwkward[] = u8R"js(
window.veq.invoke("writePreference",
  { key: "awkward", value: "say \"hi\" \\ C:\\temp\\ é ü ß 日本 😀 𝄞 %41 &amp; <b>" });
)js";

// Writes back what the page holds after a new load: the value it got in
// "initXLoopRoom" and the one "readPreference" answers.
const char kEchoAwkward[] = R"js(
window.veq.invoke("writePreference", { key: "fromPayload", value: window.xloopRoom.preferences.awkward });
window.veq.invoke("readPreference", { key: "awkward" }).then((reply) =>
  window.veq.invoke("writePreference", { key: "fromRead", value: reply.awkward }));
)js";

TEST_F(RoomHostTest, AwkwardPreferencesSurvivePageModuleFileAndPage) {
    resolveConfiguration();
    BrowserClient* room = openRoom();
    ASSERT_NE(room, nullptr);
    ASSERT_TRUE(runUntil([] { return linesWith(kRoomShown) == 1; }));

    room->executeScript(kWriteAwkward);
    ASSERT_TRUE(runUntil([&] { return storedPreferences().count("awkward") == 1; }));
    EXPECT_EQ(storedPreferences().at("awkward"), kAwkward);

    room->executeScript("location.reload();");
    ASSERT_TRUE(runUntil([] { return linesWith(kRoomShown) == 2; }));
    room->executeScript(kEchoAwkward);

    ASSERT_TRUE(runUntil([&] {
        const auto stored = storedPreferences();
        return stored.count("fromPayload") == 1 && stored.count("fromRead") == 1;
    }));
    const auto stored = storedPreferences();
    EXPECT_EQ(stored.at("fromPayload"), kAwkward);
    EXPECT_EQ(stored.at("fromRead"), kAwkward);
}

}  // namespace
}  // namespace xloop_demo_test
