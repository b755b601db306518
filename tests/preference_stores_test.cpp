// One store per user-data folder and locale, read from its file once, and
// again at a save that finds another process changed it.
#include <gtest/gtest.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <thread>
#include <vector>

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
    // Another writer's entries, which this store did not change since, are kept.
    second->setPreference("c", "3");
    EXPECT_EQ(loadedPreferences(temp.path()), (Map{{"a", "edited"}, {"b", "2"}, {"c", "3"}}));

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

constexpr char kWriterFolderVariable[] = "XLOOP_TEST_WRITER_FOLDER";
constexpr size_t kKeysPerWriter = 300;

// One of the two writers of the next test, each a process of its own.
TEST(PreferenceStoreTest, OneOfTwoWriters) {
    const char* folder = std::getenv(kWriterFolderVariable);
    if (folder == nullptr) GTEST_SKIP() << "run by TwoProcessesSavingOneStoreLoseNoKey";
#if defined(_WIN32)
    const std::string self = std::to_string(GetCurrentProcessId());
#else
    const std::string self = std::to_string(getpid());
#endif
    auto store = VEQ::getPreferenceStore(folder, "en_US");
    for (size_t i = 0; i < kKeysPerWriter; ++i) {
        store->setPreference(("w" + self + "k" + std::to_string(i)).c_str(), self.c_str());
    }
}

TEST(PreferenceStoreTest, TwoProcessesSavingOneStoreLoseNoKey) {
    TempFolder temp;
#if defined(_WIN32)
    wchar_t self[32768];
    ASSERT_NE(GetModuleFileNameW(nullptr, self, 32768), 0u);
    _putenv_s(kWriterFolderVariable, temp.path().string().c_str());
    // cmd takes off the outer quotes.
    const std::string command = "\"\"" + std::filesystem::path(self).string() +
                                "\" --gtest_filter=PreferenceStoreTest.OneOfTwoWriters > NUL 2>&1\"";
#else
    setenv(kWriterFolderVariable, temp.path().c_str(), 1);
    const std::string command = "'" + std::filesystem::read_symlink("/proc/self/exe").string() +
                                "' --gtest_filter=PreferenceStoreTest.OneOfTwoWriters > /dev/null 2>&1";
#endif
    int results[2] = {-1, -1};
    std::thread first([&] { results[0] = std::system(command.c_str()); });
    results[1] = std::system(command.c_str());
    first.join();
#if defined(_WIN32)
    _putenv_s(kWriterFolderVariable, "");
#else
    unsetenv(kWriterFolderVariable);
#endif
    EXPECT_EQ(results[0], 0);
    EXPECT_EQ(results[1], 0);
    EXPECT_EQ(loadedPreferences(temp.path()).size(), 2 * kKeysPerWriter);
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
    for (const std::string& spelling : spellings)
        EXPECT_EQ(VEQ::getPreferenceStore(spelling, "en_US"), store) << spelling;
}

}  // namespace
