// A preferences file that is not what it should be: a folder, a pipe, a
// device, an empty file, a cut or oversized one, or one built to be slow to
// parse. The store never crashes nor waits, keeps its values in memory, keeps
// a file it could not read aside, and saves again once it can.
#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

#include "config/config_file.h"
#include "config/paths.h"
#include "prefs/preference_limits.h"
#include "prefs/preference_stores.h"
#include "tests/preferences_files.h"
#include "tests/test_support.h"

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
    EXPECT_TRUE(std::filesystem::is_directory(preferencesFile(temp.path(), "en_US")));

    std::filesystem::remove_all(preferencesFile(temp.path(), "en_US"));
    store->setPreference("next", "saved");
    EXPECT_EQ(loadedPreferences(temp.path()), (Map{{"kept", "in memory"}, {"next", "saved"}}));
}

// Many thousands of attributes in one element, each a distinct name: what
// makes the XML libraries compare every pair.
std::string elementOfAttributes(const std::string& name, size_t count) {
    std::string element = "<" + name;
    for (size_t i = 0; i < count; ++i) element += " a" + std::to_string(i) + "=\"\"";
    return element + "/>";
}

TEST(PreferenceFileFaultTest, AFileNotReadWholeIsKeptAsideOnceBeforeTheFirstSave) {
    TempFolder empty;
    writeBytes(preferencesFile(empty.path(), "en_US"), "");
    EXPECT_TRUE(VEQ::getPreferenceStore(empty.path().u8string(), "en_US")->getAllPreferences().empty());

    const std::string declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    const std::pair<std::string, Map> unreadable[] = {
        {declaration + "<general a=\"1\" b=\"2\">", Map{{"a", "1"}, {"b", "2"}}},  // cut: what came first stays
        {declaration + elementOfAttributes("general", 200000), Map{}},
        {declaration + "<general a=\"1\"></general>" + std::string(XLoop::kMaxPreferencesFileBytes, ' '), Map{}},
    };
    for (const auto& [bytes, loaded] : unreadable) {
        TempFolder temp;
        const auto file = preferencesFile(temp.path(), "en_US");
        writeBytes(file, bytes);
        LogCapture log;
        auto store = VEQ::getPreferenceStore(temp.path().u8string(), "en_US");
        EXPECT_EQ(store->getAllPreferences(), loaded);
        store->setPreference("fresh", "start");
        store->setPreference("next", "save");

        auto expected = loaded;
        expected.insert({{"fresh", "start"}, {"next", "save"}});
        EXPECT_EQ(loadedPreferences(temp.path()), expected);
        EXPECT_TRUE(fileBytes(file.u8string() + ".unreadable") == bytes);
        EXPECT_TRUE(log.contains("(VEQ): Kept the unreadable preferences file aside as " + file.u8string() +
                                 ".unreadable"));
        EXPECT_EQ(log.lines().size(), 2u);  // the load's and the first save's
    }
}

#if !defined(_WIN32)
TEST(PreferenceFileFaultTest, APipeOrADeviceAtThePathIsNeverReadNorWrittenOver) {
    for (const bool pipe : {true, false}) {
        TempFolder temp;
        const auto file = preferencesFile(temp.path(), "en_US");
        std::filesystem::create_directories(file.parent_path());
        if (pipe) {
            ASSERT_EQ(mkfifo(file.c_str(), 0600), 0);
        } else {
            std::filesystem::create_symlink("/dev/zero", file);
        }
        LogCapture log;
        auto store = VEQ::getPreferenceStore(temp.path().u8string(), "en_US");
        EXPECT_TRUE(store->getAllPreferences().empty());
        store->setPreference("kept", "in memory");
        EXPECT_EQ(store->getPreference("kept", ""), "in memory");
        EXPECT_EQ(pipe ? std::filesystem::is_fifo(file) : std::filesystem::is_symlink(file), true);
        EXPECT_EQ(log.lines(), std::vector<std::string>{"(VEQ): Preferences kept in memory only: " +
                                                        file.u8string() + " is not a regular file"});

        // The configuration reader refuses it too, without waiting for a writer.
        std::string bytes;
        XLoop::platform::HttpCancellation never;
        EXPECT_FALSE(XLoop::readURLToMemory(XLoop::fileURLFromPath(file.c_str()).c_str(), bytes, never));
        EXPECT_TRUE(bytes.empty());
    }
}
#endif

}  // namespace
