// One store per user-data folder and locale, read from its file once.
#include <gtest/gtest.h>

#include "prefs/preference_stores.h"
#include "tests/preferences_files.h"
#include "tests/test_support.h"

using namespace xloop_test;
using Map = std::map<std::string, std::string>;

namespace {

TEST(PreferenceStoreTest, AMissingKeyReadsAndPersistsItsDefault) {
    TempFolder temp;
    auto store = VEQ::getPreferenceStore(temp.path().u8string(), "en_US");
    ASSERT_TRUE(store);
    EXPECT_FALSE(store->hasPreference("k"));
    EXPECT_EQ(store->getPreference("k", "x"), "x");
    EXPECT_TRUE(store->hasPreference("k"));
    EXPECT_EQ(store->getPreference("k", "y"), "x");
    EXPECT_EQ(store->getPreference("blank", ""), "");
    EXPECT_EQ(loadedPreferences(temp.path()), (Map{{"blank", ""}, {"k", "x"}}));
}

TEST(PreferenceStoreTest, TheSecondRequestSharesTheStoreWithoutReadingTheFile) {
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
}

TEST(PreferenceStoreTest, LocalesDifferingInCaseShareAStoreOnWindowsOnly) {
    TempFolder temp;
    const std::string userData = temp.path().u8string();
    auto asPassed = VEQ::getPreferenceStore(userData, "en_US");
    auto lowerCased = VEQ::getPreferenceStore(userData, "en_us");
    asPassed->setPreference("killswitch", "on");
    lowerCased->setPreference("forcexloopview", "true");
#if defined(_WIN32)
    EXPECT_EQ(lowerCased, asPassed);
    EXPECT_EQ(loadedPreferences(temp.path()), (Map{{"forcexloopview", "true"}, {"killswitch", "on"}}));
#else
    EXPECT_NE(lowerCased, asPassed);
    EXPECT_EQ(loadedPreferences(temp.path(), "en_US"), (Map{{"killswitch", "on"}}));
    EXPECT_EQ(loadedPreferences(temp.path(), "en_us"), (Map{{"forcexloopview", "true"}}));
#endif
}

TEST(PreferenceStoreTest, PairsThatJoinToTheSameTextAreDifferentStores) {
    TempFolder temp;
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

TEST(PreferenceStoreTest, WithoutAStoreReadsGiveTheDefaultAndWritesDoNothing) {
    TempFolder temp;
    EXPECT_FALSE(VEQ::getPreferenceStore("", "en_US"));
    EXPECT_FALSE(VEQ::getPreferenceStore(temp.path().u8string(), ""));
    EXPECT_TRUE(std::filesystem::is_empty(temp.path()));

    EXPECT_EQ(VEQ::readPreference(nullptr, "forcexloopview", "false"), "false");
    EXPECT_EQ(VEQ::readPreference(nullptr, "k", nullptr), "");
    VEQ::writePreference(nullptr, "k", "v");

    auto store = VEQ::getPreferenceStore(temp.path().u8string(), "en_US");
    VEQ::writePreference(store.get(), "k", "v");
    EXPECT_EQ(VEQ::readPreference(store.get(), "k", "d"), "v");
}

}  // namespace
