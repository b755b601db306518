// The workbench as a program, run headless the way a page author scripts it:
// a steps file drives it, the record and the kept session are what it leaves.
#include <glib.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "examples/room_demo/preferences_listing.h"
#include "tests/test_support.h"

namespace xloop_demo_test {
namespace {

using nlohmann::json;

// Lines 4 and 8 throw: the record must name them.
const char kRoomPage[] = R"(<!DOCTYPE html><meta charset="utf-8"><script>
window.initXLoopRoom = () => window.veq.invoke("readPreference", {key: "seen"});
window.setUpdateInfo = () => {
  throw new TypeError("no updates here");
};
window.xloopRoomVisited = async () => {
  await window.veq.invoke("writeLastViewedCardID", {key: "lastViewedCardID", value: "card-7"});
  roomVisitedHelper();
};
</script>)";

const char kSteps[] = R"(# a flow, the same every run
0 server-up
0 enter
0 send-updates
0 script window.veq.invoke("nope", {"say": "\"hi\"\n"})
0 script notDefinedHere()
1500 quit
)";

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

Outcome runDemo(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), XLOOP_ROOM_DEMO_PATH);
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    gchar* out = nullptr;
    gchar* err = nullptr;
    int status = 0;
    Outcome outcome;
    if (g_spawn_sync(nullptr, argv.data(), nullptr, G_SPAWN_DEFAULT, nullptr, nullptr, &out, &err, &status, nullptr)) {
        outcome = {g_spawn_check_wait_status(status, nullptr) ? 0 : WEXITSTATUS(status), out, err};
    }
    g_free(out);
    g_free(err);
    return outcome;
}

class WorkbenchRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (g_getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no display: run under xvfb-run";
        std::ofstream(folder.path() / "room.html") << kRoomPage;
    }

    std::string write(const std::string& name, const std::string& text) {
        std::ofstream(folder.path() / name) << text;
        return (folder.path() / name).string();
    }

    xloop_test::TempFolder folder;
};

using Match = std::function<bool(const json&)>;

Match is(const std::string& kind, const std::string& field = "", const std::string& value = "") {
    return [=](const json& line) {
        return line.value("kind", "") == kind &&
               (field.empty() || line.value(field, json()).dump().find(value) != std::string::npos);
    };
}

// Whether the lines hold matches in this order, with others between.
bool inOrder(const std::vector<json>& lines, const std::vector<Match>& matches) {
    size_t next = 0;
    for (const json& line : lines) {
        if (next < matches.size() && matches[next](line)) ++next;
    }
    return next == matches.size();
}

TEST_F(WorkbenchRunTest, StepsDriveARecordedSessionWhoseFolderIsKept) {
    const std::string record = (folder.path() / "session.jsonl").string();
    const std::string kept = (folder.path() / "kept").string();

    const Outcome run = runDemo({"--pages", folder.path().string(), "--steps", write("flow.steps", kSteps),
                                 "--record", record, "--keep", kept});

    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::vector<json> lines;
    std::ifstream in(record);
    for (std::string text; std::getline(in, text);) {
        lines.push_back(json::parse(text, nullptr, false));
        ASSERT_TRUE(lines.back().is_object() && lines.back()["t"].is_number()) << text;
    }
    // The steps start once the page is initialised, while its own calls may still be under way: each chain
    // below is one of cause and effect.
    const Match roomInitialised = is("init", "payload", R"("product":"XLoopDemo")");
    EXPECT_TRUE(inOrder(lines, {is("session", "product", "XLoopDemo"), roomInitialised,
                                is("action", "reply", R"({\"seen\":\"\"})")}));
    EXPECT_TRUE(inOrder(lines, {roomInitialised, is("step", "action", "enter"),
                                is("log", "line", "Entered XLoop for the first time"),
                                is("call", "script", "xloopRoomVisited();"),
                                is("action", "arguments", R"(\"value\":\"card-7\")"),
                                [](const json& line) {
                                    return line.value("message", "") == "Unhandled rejection: ReferenceError: "
                                                                        "Can't find variable: roomVisitedHelper" &&
                                           line.value("line", 0) == 8 && !line.contains("during");
                                }}));
    EXPECT_TRUE(inOrder(lines, {is("step", "action", "send-updates"),
                                is("call", "payload", R"("updateRefIds":["upd-1701")"),
                                [](const json& line) {
                                    return line.value("kind", "") == "script-error" &&
                                           line.value("message", "") == "TypeError: no updates here" &&
                                           line.value("file", "").find("/veqtemplate/room.html") != std::string::npos &&
                                           line.value("line", 0) == 4 && line.value("during", "") == "setUpdateInfo";
                                }}));
    EXPECT_TRUE(inOrder(lines, {is("step", "skipped", "the button cannot be pressed now")}));  // the server is up
    EXPECT_TRUE(inOrder(lines, {is("step", "argument", "nope"),
                                is("refusal", "arguments", R"({\"say\":\"\\\"hi\\\"\\n\"})")}));
    EXPECT_TRUE(inOrder(lines, {is("step", "argument", "notDefinedHere"),
                                is("script-error", "file", "veqpod:executeScript"), is("step", "action", "quit")}));
    const auto keptPreferences = xloop_demo::readPreferenceEntries(kept + "/user-data/VEQ/en_us/VEQPrefs.xml");
    ASSERT_TRUE(keptPreferences.has_value());
    EXPECT_NE(std::find(keptPreferences->begin(), keptPreferences->end(),
                        std::pair<std::string, std::string>("lastViewedCardID", "card-7")),
              keptPreferences->end());
}

TEST_F(WorkbenchRunTest, HelpExitsZeroAndUsageMistakesExitSixtyFour) {
    const Outcome help = runDemo({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--steps FILE"), std::string::npos);

    const Outcome unordered = runDemo({"--steps", write("bad.steps", "200 enter\n\n100 quit\n")});
    EXPECT_EQ(unordered.exitCode, 64);
    EXPECT_NE(unordered.err.find("bad.steps:3: the time 100 comes before the step above (200)"), std::string::npos);
    const Outcome unknown = runDemo({"--steps", write("typo.steps", "0 sever-down\n")});
    EXPECT_NE(unknown.err.find("typo.steps:1: unknown action \"sever-down\""), std::string::npos);
    EXPECT_EQ(runDemo({"--keep", folder.path().string()}).exitCode, 64);  // not empty: a session would mix
    EXPECT_EQ(runDemo({"--record"}).exitCode, 64);
}

}  // namespace
}  // namespace xloop_demo_test
