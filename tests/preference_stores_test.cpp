// One store per user-data folder and locale, read from its file once.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "prefs/preference_stores.h"

#if defined(_WIN32)
#include <windows.h>
#endif
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

// Only a plain locale names a folder; any other keeps its store in memory
// and writes nothing anywhere, on either platform's path rules.
TEST(PreferenceStoreTest, OnlyAPlainLocaleNamesAFolder) {
    TempFolder temp;
    const std::filesystem::path userData = temp.path() / "a" / "b";
    std::filesystem::create_directories(userData);
    const std::string outside = (temp.path() / "x").u8string();
    LogCapture log;
    for (const std::string& locale : {std::string("../../x"), std::string("..\\..\\x"), outside,
                                      "\\\\?\\" + outside, std::string("\\\\server\\share\\x"),
                                      std::string(".x"), std::string("en US"), std::string(65, 'a')}) {
        auto store = VEQ::getPreferenceStore(userData.u8string(), locale);
        store->setPreference("k", "v");
        EXPECT_EQ(store->getPreference("k", ""), "v");
        EXPECT_TRUE(log.contains("(VEQ): Preferences kept in memory only: the locale " + locale +
                                 " is not a plain name"));
    }
    std::vector<std::string> written;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(temp.path()))
        written.push_back(entry.path().lexically_relative(temp.path()).generic_u8string());
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written, (std::vector<std::string>{"a", "a/b"}));

    for (const std::string& locale :
         {std::string("en_US"), std::string("zh-Hans-CN"), std::string("sr_RS.UTF-8@latin"), std::string(64, 'a')}) {
        VEQ::getPreferenceStore(userData.u8string(), locale)->setPreference("k", "v");
        EXPECT_EQ(loadedPreferences(userData, locale), (Map{{"k", "v"}})) << locale;
    }
}

// Every spelling the system resolves to one folder names one store: on
// Windows a trailing dot, the "\\?\" form and the short name; elsewhere a
// symbolic link.
TEST(PreferenceStoreTest, EverySpellingOfOneExistingFolderIsOneStore) {
    TempFolder temp;
    const std::filesystem::path folder = temp.path() / "user data folder";
    std::filesystem::create_directories(folder);
    const std::string plain = folder.u8string();
    auto store = VEQ::getPreferenceStore(plain, "en_US");
#if defined(_WIN32)
    std::wstring shortName(GetShortPathNameW(folder.c_str(), nullptr, 0), L'\0');
    shortName.resize(GetShortPathNameW(folder.c_str(), &shortName[0], static_cast<DWORD>(shortName.size())));
    ASSERT_NE(shortName, folder.wstring());
    const std::vector<std::string> spellings{plain + ".", "\\\\?\\" + plain,
                                             std::filesystem::path(shortName).u8string()};
#else
    std::filesystem::create_directory_symlink(folder, temp.path() / "link");
    const std::vector<std::string> spellings{(temp.path() / "link").u8string()};
#endif
    for (const std::string& spelling : spellings) EXPECT_EQ(VEQ::getPreferenceStore(spelling, "en_US"), store) << spelling;
}

}  // namespace
