// Runs of executeScript and the console errors Chromium reports for them, in
// the orders Chromium sends them.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pods/qtwebengine/script_runs.h"

namespace veqpod_qt {
namespace {

class ScriptRunsTest : public ::testing::Test {
protected:
    ScriptRuns runs{[this](const ScriptRuns::Run& run, const ScriptRuns::Failure& failure) {
        reported.push_back(run.script + " threw " + failure.message);
    }};
    std::vector<std::string> reported;
};

TEST_F(ScriptRunsTest, ARunThatThrewTakesItsErrorBeforeOrAfterItsValue) {
    runs.started({"first();", "page"});
    runs.started({"second();", "page"});
    runs.started({"third();", "page"});
    runs.uncaught({"ReferenceError: first", "veqpod:executeScript", 1});
    runs.ended(true);
    runs.ended(true);
    runs.ended(false);
    runs.uncaught({"TypeError: second", "page", 2});

    EXPECT_EQ(reported, (std::vector<std::string>{"first(); threw ReferenceError: first",
                                                  "second(); threw TypeError: second"}));
}

TEST_F(ScriptRunsTest, ThePagesOwnErrorsGoToNoRun) {
    runs.uncaught({"Error: before any run", "page", 1});
    runs.started({"fine();", "page"});
    runs.uncaught({"Error: a timer's", "page", 3});
    runs.ended(false);
    runs.started({"fails();", "page"});
    runs.ended(true);
    runs.uncaught({"TypeError: fails", "page", 4});
    runs.started({"left();", "old page"});
    runs.ended(true);
    runs.forget();
    runs.uncaught({"Error: of the next page", "next page", 1});

    EXPECT_EQ(reported, (std::vector<std::string>{"fails(); threw TypeError: fails"}));
}

}  // namespace
}  // namespace veqpod_qt
