// What one store holds: an entry past a limit is refused and changes
// nothing, and a store at its limits saves a file both XML readers load.
#include <gtest/gtest.h>

#include "prefs/preference_limits.h"
#include "prefs/preferences_document.h"
#include "tests/preferences_files.h"
#include "tests/test_support.h"

using namespace xloop_test;
using Map = std::map<std::string, std::string>;

namespace {

TEST(PreferenceLimitsTest, AnEntryPastALimitIsRefusedWithOneLineAndChangesNothing) {
    TempFolder temp;
    VEQ::PlatformPreferences store(temp.path().u8string(), "en_US");
    const std::string exactKey(XLoop::kMaxPreferenceKeyBytes, 'k');
    store.setPreference("kept", "yes");
    store.setPreference(exactKey.c_str(), "at the limit");
    const std::string saved = fileBytes(preferencesFile(temp.path(), "en_US"));
    const std::string longKey(XLoop::kMaxPreferenceKeyBytes + 1, 'k');
    const std::string longValue(XLoop::kMaxPreferenceValueBytes + 1, 'v');

    LogCapture log;
    store.setPreference(longKey.c_str(), "v");
    store.setPreference("big", longValue.c_str());
    store.setPreference("kept", longValue.c_str());
    EXPECT_EQ(store.getPreference("missing", longValue.c_str()), longValue);  // answered, not stored

    EXPECT_EQ(store.getAllPreferences(), (Map{{"kept", "yes"}, {exactKey, "at the limit"}}));
    EXPECT_EQ(fileBytes(preferencesFile(temp.path(), "en_US")), saved);
    EXPECT_EQ(log.lines().size(), 4u);
    EXPECT_TRUE(log.contains("(VEQ): Preference \"" + std::string(64, 'k') +
                             "...\" not stored: its key is longer than 1024 bytes"));
    EXPECT_TRUE(log.contains("(VEQ): Preference \"big\" not stored: its value is longer than 262144 bytes"));

    // The page's share of the entries, the two above among them.
    Map page;
    for (size_t i = 0; i < XLoop::kMaxPagePreferenceEntries; ++i) page["p" + std::to_string(10000 + i)] = "";
    store.setPagePreferences(page);
    EXPECT_EQ(store.getAllPreferences().size(), XLoop::kMaxPagePreferenceEntries);
    EXPECT_TRUE(log.contains("(VEQ): Preference \"p19898\" not stored: the page's entries number 9900 already"));
}

TEST(PreferenceLimitsTest, EntriesLeftOutOfTheFileCountByTheirSize) {
    TempFolder temp;
    VEQ::PlatformPreferences store(temp.path().u8string(), "en_US");
    const std::string value(XLoop::kMaxPreferenceValueBytes, 'v');
    LogCapture log;
    for (int i = 0; i < 40; ++i) store.setPreference(("left out " + std::to_string(i)).c_str(), value.c_str());
    size_t held = 0;
    for (const auto& [key, stored] : store.getAllPreferences()) held += key.size() + stored.size();
    EXPECT_LE(held, XLoop::kMaxPreferencesFileBytes);
    EXPECT_GT(held, XLoop::kMaxPreferencesFileBytes - value.size() - 64);
    EXPECT_TRUE(log.contains("(VEQ): Preference \"left out 39\" not stored: the store would grow past 8388608 bytes"));
}

// The most the file can be asked to carry: a key and a value at their limits
// (every byte of the value escaped, the costliest case for both readers), and
// as many entries as the store takes, padded to the file's limit.
Map storeAtItsLimits() {
    Map full = {{std::string(XLoop::kMaxPreferenceKeyBytes, 'k'), std::string(XLoop::kMaxPreferenceValueBytes, '&')}};
    for (size_t i = 1; i < XLoop::kMaxPreferenceEntries; ++i) full["e" + std::to_string(100000 + i)] = "";
    const size_t room = XLoop::kMaxPreferencesFileBytes - XLoop::PreferenceEntries(full).documentBytes();
    const size_t each = room / (full.size() - 1);
    for (auto& [key, value] : full) {
        if (key[0] == 'e') value.assign(each, 'v');
    }
    const size_t left = XLoop::kMaxPreferencesFileBytes - XLoop::PreferenceEntries(full).documentBytes();
    full["e100001"] += std::string(left, 'v');
    return full;
}

TEST(PreferenceLimitsTest, AStoreAtItsLimitsSavesAndLoadsBackAndTakesNoMore) {
    TempFolder temp;
    const Map full = storeAtItsLimits();
    ASSERT_EQ(XLoop::PreferenceEntries(full).documentBytes(), XLoop::kMaxPreferencesFileBytes);
    writeBytes(preferencesFile(temp.path(), "en_US"), XLoop::PreferenceEntries(full).document());
    VEQ::PlatformPreferences store(temp.path().u8string(), "en_US");
    store.loadPreferences();
    ASSERT_EQ(store.getAllPreferences(), full);

    const std::string value = full.at("e100002");
    store.setPreference("e100002", value.c_str());  // saved by the store itself
    LogCapture log;
    store.setPreference("one more", "");
    store.setPreference("e100002", (value + "v").c_str());
    EXPECT_EQ(log.lines(), (std::vector<std::string>{
                               "(VEQ): Preference \"one more\" not stored: the store holds 10000 entries already",
                               "(VEQ): Preference \"e100002\" not stored: the store would grow past 8388608 bytes"}));
    EXPECT_EQ(loadedPreferences(temp.path()), full);
}

}  // namespace
