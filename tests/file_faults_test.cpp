// A preferences file that is not what it should be: a folder, an empty file,
// or megabytes of garbage. The store never crashes, keeps its values in
// memory, and saves again once it can.
#include <gtest/gtest.h>

#include "prefs/preference_stores.h"
#include "tests/preferences_files.h"
#include "tests/test_support.h"
#include "tests/wine.h"

using namespace xloop_test;
using Map = std::map<std::string, std::string>;

namespace {

TEST(PreferenceFileFaultTest, AFolderInThePlaceOfTheFileKeepsValuesInMemory) {
    TempFolder temp;
    std::filesystem::create_directories(preferencesFile(temp.path(), "en_US"));
    LogCapture log;
    auto store = VEQ::getPreferenceStore(temp.path().u8string(), "en_US");
    ASSERT_TRUE(store);
    store->setPreference("kept", "in memory");
    EXPECT_EQ(store->getPreference("kept", ""), "in memory");
    EXPECT_FALSE(log.lines().empty());  // the failed load says so
    // Wine's ReplaceFileW replaces an empty folder; Windows and Linux refuse.
    if (!runningUnderWine()) {
        EXPECT_TRUE(std::filesystem::is_directory(preferencesFile(temp.path(), "en_US")));
    }

    std::filesystem::remove_all(preferencesFile(temp.path(), "en_US"));
    store->setPreference("next", "saved");
    EXPECT_EQ(loadedPreferences(temp.path()), (Map{{"kept", "in memory"}, {"next", "saved"}}));
}

TEST(PreferenceFileFaultTest, EmptyAndGarbageFilesLoadNothingAndAreReplacedWhole) {
    TempFolder empty;
    writeBytes(preferencesFile(empty.path(), "en_US"), "");
    EXPECT_TRUE(VEQ::getPreferenceStore(empty.path().u8string(), "en_US")->getAllPreferences().empty());

    TempFolder garbage;
    std::string bytes(50 << 20, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 2654435761u) >> 13);
    writeBytes(preferencesFile(garbage.path(), "en_US"), bytes);
    auto store = VEQ::getPreferenceStore(garbage.path().u8string(), "en_US");
    EXPECT_TRUE(store->getAllPreferences().empty());
    store->setPreference("fresh", "start");
    EXPECT_EQ(loadedPreferences(garbage.path()), (Map{{"fresh", "start"}}));
}

}  // namespace
