// The update list as the page receives it, and the copy the client keeps.
#include <gtest/gtest.h>

#include <cstdlib>

#include "page/script_call.h"
#include "testing/veqpod/veqpod_control.h"
#include "tests/room_support.h"
#include "tests/test_support.h"
#include "xloop/xloop_client.h"

using namespace xloop_test;

namespace {

class UpdateInfoTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitializeVEQ(nullptr);
        client = CreateBrowser(nullptr, nullptr, "1");
        record.room("https://room.test/veqtemplate/", userData.path());
        showPage(client, record.get(), record->offlinePageURL);
        shown = veqpodCallCount(client);
    }
    void TearDown() override {
        // A plain client has no destroy notifier to free the stored text.
        std::free(client->getUserData("eXloopUpdateInfo"));
        veqpodDestroyClient(client);
        ShutDownVEQ();
    }

    std::string storedText() {
        auto* stored = static_cast<const char*>(client->getUserData("eXloopUpdateInfo"));
        return stored != nullptr ? stored : "(none)";
    }

    // The calls since the trusted page was shown.
    std::vector<veqpod::ClientCall> calls() {
        const auto all = veqpod::calls(client);
        return {all.begin() + shown, all.end()};
    }

    TempFolder userData;
    RoomRecord record;
    BrowserClient* client = nullptr;
    int shown = 0;
};

TEST_F(UpdateInfoTest, UpdatesReachThePageEscapedAndTheLatestListIsKept) {
    LogCapture log;
    const char* ids[] = {"a1", "b2"};
    const char* names[] = {"N1", "N2"};
    const char* descriptions[] = {"D1", "D2"};
    SetUpdateInfo(client, 2, ids, names, descriptions);

    const std::string payload =
        R"({"updateDescriptions":["D1","D2"],"updateNames":["N1","N2"],"updateRefIds":["a1","b2"]})";
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"(VEQ): In Update Info", "(VEQ): " + payload}));
    const std::string escaped = XLoop::urlEscape(payload);
    EXPECT_EQ(calls(), (std::vector<veqpod::ClientCall>{{"executeScript", "setUpdateInfo(\"" + escaped + "\");"}}));
    EXPECT_EQ(storedText(), escaped);

    // One update gives bare strings, none empty lists.
    SetUpdateInfo(client, 1, ids, names, descriptions);
    SetUpdateInfo(client, 0, ids, names, descriptions);
    SetUpdateInfo(client, -3, nullptr, nullptr, nullptr);
    auto lines = log.lines();
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[3], R"((VEQ): {"updateDescriptions":"D1","updateNames":"N1","updateRefIds":"a1"})");
    const std::string empty = R"((VEQ): {"updateDescriptions":[],"updateNames":[],"updateRefIds":[]})";
    EXPECT_EQ(lines[5], empty);
    EXPECT_EQ(lines[7], empty);
    EXPECT_EQ(storedText(), XLoop::urlEscape(lines[7].substr(7)));
}

TEST_F(UpdateInfoTest, TextsAreQuotedAsJsonAndLoggedLiterally) {
    LogCapture log;
    const char* ids[] = {"a1", nullptr};
    const char* names[] = {"say \"hi\"", "back\\slash"};
    const char* descriptions[] = {"100% sure\n", "tab\tbell\x07"};
    SetUpdateInfo(nullptr, 2, ids, names, descriptions);

    EXPECT_EQ(log.lines(),
              (std::vector<std::string>{
                  "(VEQ): In Update Info",
                  R"((VEQ): {"updateDescriptions":["100% sure\n","tab\tbell\u0007"],)"
                  R"("updateNames":["say \"hi\"","back\\slash"],"updateRefIds":["a1",""]})"}));
    EXPECT_EQ(storedText(), "(none)");  // a null client gets nothing
    EXPECT_TRUE(calls().empty());
}

TEST(UrlEscapeTest, KeepsOnlyUnreservedBytes) {
    EXPECT_EQ(XLoop::urlEscape("aZ09-._~"), "aZ09-._~");
    EXPECT_EQ(XLoop::urlEscape("{\"a\":\"b c%\"}"), "%7B%22a%22%3A%22b%20c%25%22%7D");
    EXPECT_EQ(XLoop::urlEscape("\xc3\xa9\xf0\x9f\x98\x80"), "%C3%A9%F0%9F%98%80");
    EXPECT_EQ(XLoop::urlEscape("bad\xff"), "bad%EF%BF%BD");
    EXPECT_EQ(XLoop::urlEscape(std::string(3000, '"')).size(), 9000u);
    const std::string mixed = std::string(20, 'a') + "\xc3\xa9 \xff\"" + std::string(9, 'b') + "\xf0\x9f\x98";
    EXPECT_EQ(XLoop::scriptCallEscaping("f", mixed), XLoop::scriptCallWithEscapedPayload("f", XLoop::urlEscape(mixed)));
    EXPECT_EQ(XLoop::scriptCallEscaping("f", ""), "f(\"\");");
}

}  // namespace
