// One store per user-data folder and locale, read from its file once.
#include <gtest/gtest.h>

#include "prefs/preference_stores.h"
#include "tests/preferences_files.h"
#include "tests/test_support.h"

using namespace xloop_test;
using Map = std::map<std::string, std::string>;

namespace {

TEST(PreferenceStoreTest, TheSecondRequestSharesTheStoreWithoutReadingTheFileAndPairsStayApart) {
    TempFolder temp;
    const std::string userData = temp.path().u8string();
    auto first = VEQ::getPreferenceStore(userData, "en_US");
    first->setPreference("a", "1");
    writeBytes(preferencesFile(temp.path(), "en_US"), "<general a=\"edited\" b=\"2\"/>");

    auto second = VEQ::getPreferenceStore(userData, "en_US");
    EXPECT_EQ(second, first);
    EXPECT_EQ(second->getAllPreferences(), (Map{{"a", "1"}}));
    second->setPreference("c", "3");
    EXPECT_EQ(loadedPreferences(temp.path()), (Map{{"a", "1"}, {"c", "3"}}));

    // Pairs that join to the same text are different stores.
    const std::filesystem::path base = temp.path() / "x";
    const std::filesystem::path dashed = temp.path() / "x-en";
    std::filesystem::create_directories(base);
    std::filesystem::create_directories(dashed);
    auto one = VEQ::getPreferenceStore(base.u8string(), "en-us");
    auto other = VEQ::getPreferenceStore(dashed.u8string(), "us");
    EXPECT_NE(one, other);
    one->setPreference("k", "1");
    other->setPreference("k", "2");
    EXPECT_EQ(loadedPreferences(base, "en-us"), (Map{{"k", "1"}}));
    EXPECT_EQ(loadedPreferences(dashed, "us"), (Map{{"k", "2"}}));
}

}  // namespace
