// The diagnostic line: prefix, truncation, line ends, sinks.
#include <gtest/gtest.h>

#include <string>

#include "runtime/log.h"
#include "tests/test_support.h"
#include "xloop/xloop_client.h"

using namespace xloop_test;
using XLoop::logDebug;

namespace {

TEST(LogTest, LinesCarryThePrefixAndNoAddedLineEndAndAreCutAfter1015Characters) {
    LogCapture log;
    const char* empty = "";
    logDebug(empty, 0);
    logDebug("URL %s accessibility result: %d", "http://x/", 1);
    logDebug("Request Status: %d\n", 200);
    const std::string fits(1015, 'a');
    logDebug("%s", fits.c_str());
    logDebug("%s", (std::string(1015, 'b') + "c").c_str());
    logDebug("%s", std::string(5000, 'd').c_str());
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"(VEQ): ",
                                                     "(VEQ): URL http://x/ accessibility result: 1",
                                                     "(VEQ): Request Status: 200\n", "(VEQ): " + fits,
                                                     "(VEQ): " + std::string(1015, 'b'),
                                                     "(VEQ): " + std::string(1015, 'd')}));
}

TEST(LogTest, ControlBytesAndBrokenTextAreWrittenSafeAndCutsKeepWholeCharacters) {
    LogCapture log;
    logDebug("Got %s\n", "two\nlines \x1b]0;title\x07 \xc2\x9b C1 \xff bad caf\xc3\xa9");
    // U+2028, U+202E, U+2069 and U+200F; U+2027 and U+20AC pass; a line end the format did not end in is escaped.
    logDebug("%s", "a\xe2\x80\xa8" "b\xe2\x80\xae" "c\xe2\x81\xa9" "d\xe2\x80\x8f" "\xe2\x80\xa7\xe2\x82\xac\n");
    const std::string nearlyFull(1014, 'a');
    logDebug("%s\xc3\xa9", nearlyFull.c_str());   // the two-byte character does not fit
    logDebug("%s\n", nearlyFull.c_str());          // the format's line end does
    logDebug("%s", (nearlyFull.substr(2) + "\x01").c_str());  // an escape that leaves no room for the NUL is left out
    EXPECT_EQ(log.lines(),
              (std::vector<std::string>{
                  "(VEQ): Got two\\x0Alines \\x1B]0;title\\x07 \\xC2\\x9B C1 \\xFF bad caf\xc3\xa9\n",
                  "(VEQ): a\\xE2\\x80\\xA8b\\xE2\\x80\\xAEc\\xE2\\x81\\xA9d\\xE2\\x80\\x8F\xe2\x80\xa7\xe2\x82\xac\\x0A",
                  "(VEQ): " + nearlyFull, "(VEQ): " + nearlyFull + "\n", "(VEQ): " + nearlyFull.substr(2)}));
}

TEST(LogTest, ALoggedTextGivesTheLineOfTheWholeText) {
    const std::string cutInACharacter = std::string(1000, 'a') + std::string(20, '\xc3') + "\xa9 end";
    for (const std::string& text : {std::string("short"), cutInACharacter, std::string(5000, 'd') + "\n"}) {
        LogCapture log;
        logDebug("Got %s (%s)", text.c_str(), text.c_str());
        logDebug("Got %s (%s)", XLoop::LoggedText(text).c_str(), XLoop::LoggedText(text).c_str());
        ASSERT_EQ(log.lines().size(), 2u);
        EXPECT_EQ(log.lines()[0], log.lines()[1]);
    }
}

TEST(LogTest, NullSinkRestoresTheDefaultChannel) {
    {
        LogCapture log;
        logDebug("captured");
        EXPECT_TRUE(log.contains("(VEQ): captured"));
    }
#if !defined(_WIN32)
    testing::internal::CaptureStderr();
    logDebug("to the default channel");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "(VEQ): to the default channel\n");
#endif
}

}  // namespace
