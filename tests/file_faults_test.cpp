// A preferences file that is not what it should be: a folder, a pipe, a
// device, an empty file, a cut or oversized one, or one built to be slow to
// parse. The store never crashes nor waits, keeps its values in memory, keeps
// a file it could not read aside, and saves again once it can.
#include <gtest/gtest.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <chrono>

#include "config/config_file.h"
#include "platform/error_text.h"
#include "platform/file_io.h"
#include "prefs/preference_limits.h"
#include "prefs/preference_stores.h"
#include "runtime/paths.h"
#include "testing/encoded_text.h"
#include "tests/preferences_files.h"
#include "tests/test_support.h"

using namespace xloop_test;
using Map = std::map<std::string, std::string>;

namespace {

TEST(PreferenceFileFaultTest, AFolderInThePlaceOfTheFileOrNoUserDataFolderKeepsValuesInMemory) {
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

    // No user-data folder: the store makes none, and the first save that can write brings every value.
    const std::filesystem::path missing = temp.path() / "not yet there";
    VEQ::PlatformPreferences early(missing.u8string(), "en_US");
    // Its line names the folder and gives the system's reason with its number.
#if defined(_WIN32)
    const int notFound = 3;  // ERROR_PATH_NOT_FOUND
#else
    const int notFound = ENOENT;
#endif
    const std::string reason = XLoop::platform::systemErrorText(notFound);
    EXPECT_FALSE(reason.empty());
    EXPECT_TRUE(log.contains("(VEQ): Could not create the preferences folder " + (missing / "VEQ").u8string() +
                             ": create folder failed with error " + std::to_string(notFound) + " (" + reason + ")"))
        << log.lines().back();
    early.setPreference("early", "1");
    EXPECT_FALSE(std::filesystem::exists(missing));
    std::filesystem::create_directories(preferencesFile(missing, "en_US").parent_path());
    early.setPreference("later", "2");
    EXPECT_EQ(loadedPreferences(missing), (Map{{"early", "1"}, {"later", "2"}}));
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
        {"<?xml version=\"1.0\" encoding=\"UTF-16LE\"" + utf16("?>" + elementOfAttributes("general", 20000)), Map{}},
        {"<?xml version=\"1.0\" encoding=\"IBM037\"" + ebcdic("?><general a=\"1\"/>"), Map{}},
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

// For its life, the file cannot be opened for reading: no descriptor is left
// in this process (whoever runs the suite), or, on Windows, another process
// holds the file.
class FileOutOfReach {
public:
#if defined(_WIN32)
    explicit FileOutOfReach(const std::filesystem::path& file)
        : holder(CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~FileOutOfReach() { CloseHandle(holder); }

private:
    HANDLE holder;
#else
    explicit FileOutOfReach(const std::filesystem::path&) {
        getrlimit(RLIMIT_NOFILE, &saved);
        rlimit low = saved;
        low.rlim_cur = std::min<rlim_t>(saved.rlim_cur, 4096);
        setrlimit(RLIMIT_NOFILE, &low);
        for (int descriptor; (descriptor = open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;) held.push_back(descriptor);
    }
    ~FileOutOfReach() {
        for (int descriptor : held) close(descriptor);
        setrlimit(RLIMIT_NOFILE, &saved);
    }

private:
    rlimit saved;
    std::vector<int> held;
#endif
};

TEST(PreferenceFileFaultTest, AFileOutOfReachForAWhileIsLeftAsItIsAndCaughtUpWith) {
    TempFolder temp;
    const auto file = preferencesFile(temp.path(), "en_US");
    VEQ::PlatformPreferences(temp.path().u8string(), "en_US").setPreference("old", "1");
    const std::string good = fileBytes(file);
    VEQ::PlatformPreferences store(temp.path().u8string(), "en_US");
    LogCapture log;
    {
        FileOutOfReach fault(file);
        store.loadPreferences();
        store.setPreference("new", "2");
    }
    EXPECT_EQ(fileBytes(file), good);
    EXPECT_EQ(store.getPreference("old", "default"), "1");
    store.setPreference("next", "3");
    EXPECT_EQ(loadedPreferences(temp.path()), (Map{{"new", "2"}, {"next", "3"}, {"old", "1"}}));
    EXPECT_FALSE(std::filesystem::exists(file.u8string() + ".unreadable"));
    EXPECT_TRUE(log.contains("(VEQ): Read the preferences from " + file.u8string() + " after all"));

    // A bad file found later is kept beside those kept aside before, never over them, up to nine copies.
    for (int copy = 3; copy <= 8; ++copy) writeBytes(file.u8string() + ".unreadable." + std::to_string(copy), "");
    for (const std::string bad : {"<general a='1'", "<general b='2'", "<general c='3'", "<general d='4'"}) {
        writeBytes(file, bad);
        VEQ::PlatformPreferences later(temp.path().u8string(), "en_US");
        later.loadPreferences();
        later.setPreference("c", "3");
    }
    EXPECT_EQ(fileBytes(file.u8string() + ".unreadable"), "<general a='1'");
    EXPECT_EQ(fileBytes(file.u8string() + ".unreadable.2"), "<general b='2'");
    EXPECT_EQ(fileBytes(file.u8string() + ".unreadable.9"), "<general d='4'");
}

// A save keeps the mode the file was given and removes only the new files of
// saves that died, long ago; keys an older XML reader refuses stay in
// memory; a file open for writing is not read.
TEST(PreferenceFileFaultTest, FileDetails) {
    namespace fs = std::filesystem;
    TempFolder temp;
    const fs::path file = preferencesFile(temp.path(), "en_US");
    auto store = VEQ::getPreferenceStore(temp.path().u8string(), "en_US");
    store->setPreference("first", "save");
#if !defined(_WIN32)
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    fs::permissions(file, fs::perms(0644));
    const std::string leftover = "VEQPrefs.xml.new-a1B2c3", recent = "VEQPrefs.xml.new-Z9y8X7";
#else
    const std::string leftover = "VEQ1A2B.tmp", recent = "veq3c.tmp";
#endif
    const std::string others[] = {"VEQPrefs.xml.backup", "VEQ12345.tmp", "notes.tmp"};
    const auto longAgo = fs::file_time_type::clock::now() - std::chrono::minutes(5);
    for (const std::string& name : {leftover, recent, others[0], others[1], others[2]}) {
        writeBytes(file.parent_path() / name, "x");
        if (name != recent) fs::last_write_time(file.parent_path() / name, longAgo);
    }

    const std::string refused[] = {"\xC8\x98key", "key\xF0\x9F\x98\x80", "\xD9\xA0key"};  // U+0218, U+1F600, U+0660
    for (const std::string& key : refused) store->setPreference(key.c_str(), "kept");
    store->setPreference("plain_Key-1.0", "ascii");
    store->setPreference("x\xC3\xA9\xD9\xA0", "older names");  // U+00E9, U+0660 after the start

    EXPECT_EQ(loadedPreferences(temp.path()),
              (Map{{"first", "save"}, {"plain_Key-1.0", "ascii"}, {"x\xC3\xA9\xD9\xA0", "older names"}}));
    for (const std::string& key : refused) EXPECT_EQ(store->getPreference(key.c_str(), ""), "kept");
    EXPECT_FALSE(fs::exists(file.parent_path() / leftover));
    EXPECT_TRUE(fs::exists(file.parent_path() / recent));
    for (const std::string& name : others) EXPECT_TRUE(fs::exists(file.parent_path() / name));
#if !defined(_WIN32)
    EXPECT_EQ(fs::status(file).permissions(), fs::perms(0644));
#else
    HANDLE writer = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    std::string bytes;
    const XLoop::platform::StepResult read =
        XLoop::platform::readRegularFile(file.u8string(), XLoop::kMaxPreferencesFileBytes, &bytes);
    CloseHandle(writer);
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.code, ERROR_SHARING_VIOLATION);
#endif
}

#if !defined(_WIN32)
TEST(PreferenceFileFaultTest, ALinkAtThePathIsReplacedByAnOwnerOnlyFile) {
    namespace fs = std::filesystem;
    TempFolder temp;
    const fs::path target = temp.path() / "shared.xml", file = preferencesFile(temp.path(), "en_US");
    writeBytes(target, "<general/>");
    fs::permissions(target, fs::perms(0644));
    fs::create_directories(file.parent_path());
    fs::create_symlink(target, file);
    VEQ::PlatformPreferences(temp.path().u8string(), "en_US").setPreference("a", "1");
    EXPECT_FALSE(fs::is_symlink(file));
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(fileBytes(target), "<general/>");
}

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
