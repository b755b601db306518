// Whole-file replacement: the old content survives every failure.
#include <gtest/gtest.h>

#include "platform/file_io.h"
#include "tests/preferences_files.h"
#include "tests/test_support.h"

#if !defined(_WIN32)
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace xloop_test;
namespace fs = std::filesystem;

namespace {

size_t entriesIn(const fs::path& folder) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(AtomicWriteTest, ReplacesTheWholeContentAndLeavesNoOtherFile) {
    TempFolder temp;
    const fs::path file = temp.path() / "VEQPrefs.xml";
    ASSERT_TRUE(XLoop::platform::writeFileAtomically(file.u8string(), std::string(5000, 'a')).ok);
    ASSERT_TRUE(XLoop::platform::writeFileAtomically(file.u8string(), "short").ok);
    EXPECT_EQ(fileBytes(file), "short");
    EXPECT_EQ(entriesIn(temp.path()), 1u);

    XLoop::platform::StepResult missingFolder =
        XLoop::platform::writeFileAtomically((temp.path() / "missing" / "VEQPrefs.xml").u8string(), "x");
    EXPECT_FALSE(missingFolder.ok);
    EXPECT_NE(missingFolder.code, 0);
    EXPECT_EQ(entriesIn(temp.path()), 1u);
}

// A folder whose path is longer than MAX_PATH, as a user-data folder may be.
TEST(AtomicWriteTest, AFolderPastTheOldPathLimitIsWrittenIntoWithoutOverrun) {
    TempFolder temp;
    const fs::path folder = temp.path() / std::string(250, 'd');
    fs::create_directories(folder);
    const fs::path file = folder / "VEQPrefs.xml";
    for (const char* bytes : {"first", "second"}) {
        XLoop::platform::StepResult result = XLoop::platform::writeFileAtomically(file.u8string(), bytes);
        ASSERT_TRUE(result.ok) << result.step << " " << result.code;
        EXPECT_EQ(fileBytes(file), bytes);
    }
}

#if !defined(_WIN32)
TEST(AtomicWriteTest, AFileSizeLimitLeavesTheOldFileIntact) {
    TempFolder temp;
    const fs::path file = temp.path() / "VEQPrefs.xml";
    ASSERT_TRUE(XLoop::platform::writeFileAtomically(file.u8string(), "old content").ok);

    // As on a full disk, the write fails part-way (EFBIG instead of ENOSPC).
    rlimit previous;
    getrlimit(RLIMIT_FSIZE, &previous);
    auto previousHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit limited = previous;
    limited.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &limited);
    XLoop::platform::StepResult result = XLoop::platform::writeFileAtomically(file.u8string(), std::string(65536, 'n'));
    setrlimit(RLIMIT_FSIZE, &previous);
    signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(result.ok);
    EXPECT_STREQ(result.step, "write");
    EXPECT_EQ(fileBytes(file), "old content");
    EXPECT_EQ(entriesIn(temp.path()), 1u);
}

TEST(AtomicWriteTest, AFolderThatCannotBeWrittenLeavesTheOldFileIntact) {
    TempFolder temp;
    const fs::path file = temp.path() / "VEQPrefs.xml";
    ASSERT_TRUE(XLoop::platform::writeFileAtomically(file.u8string(), "old content").ok);
    fs::permissions(temp.path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                     fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);

    // The superuser writes anywhere: the save runs in a child that is not it.
    pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
        _exit(XLoop::platform::writeFileAtomically(file.u8string(), "new content").ok ? 1 : 0);
    }
    int status = -1;
    waitpid(child, &status, 0);
    fs::permissions(temp.path(), fs::perms::owner_all);

    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(fileBytes(file), "old content");
    EXPECT_EQ(entriesIn(temp.path()), 1u);
}
#endif

}  // namespace
