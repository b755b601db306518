// A process killed while it saves leaves a file that loads, holding the
// store as it was before or after that save.
#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <random>
#include <thread>

#include "platform/xml_reader.h"
#include "prefs/preference_stores.h"
#include "tests/preferences_files.h"
#include "tests/test_support.h"

using namespace xloop_test;

namespace {

constexpr int kCounters = 20;

std::string counterKey(long value) {
    return "counter" + std::to_string(value % kCounters);
}

struct GeneralAttributes final : XLoop::platform::XmlElementVisitor {
    void visitElement(const XLoop::platform::XmlElement& element) override {
        if (element.localName == "general") attributes = element.attributes;
    }
    std::vector<std::pair<std::string, std::string>> attributes;
};

// Each save sets the next counter to the next number, so a whole store holds
// kCounters consecutive numbers, each under its own key. Returns the highest.
long checkWholeStore(const std::filesystem::path& file) {
    const std::string bytes = fileBytes(file);
    GeneralAttributes general;
    EXPECT_TRUE(XLoop::platform::visitXmlElements(bytes.data(), bytes.size(), general).ok) << bytes;
    std::vector<long> counters;
    for (const auto& [key, value] : general.attributes) {
        if (key == "padding") continue;
        counters.push_back(std::stol(value));
        EXPECT_EQ(key, counterKey(counters.back()));
    }
    EXPECT_EQ(counters.size(), static_cast<size_t>(kCounters)) << bytes;
    if (counters.empty()) return -1;
    std::sort(counters.begin(), counters.end());
    EXPECT_EQ(counters.back() - counters.front(), kCounters - 1) << bytes;
    return counters.back();
}

// Tells the parent of every finished save through the pipe.
[[noreturn]] void saveForever(const std::string& userData, int savedPipe) {
    alarm(20);  // never outlive a test that stopped killing
    auto store = VEQ::getPreferenceStore(userData, "en_US");
    long next = 0;
    for (const auto& [key, value] : store->getAllPreferences()) {
        if (key != "padding") next = std::max(next, std::stol(value) + 1);
    }
    fcntl(savedPipe, F_SETFL, O_NONBLOCK);  // a full pipe must not stop the saves
    for (;; ++next) {
        store->setPreference(counterKey(next).c_str(), std::to_string(next).c_str());
        if (write(savedPipe, "s", 1) < 0) continue;
    }
}

TEST(PreferencesCrashTest, KilledSavesLeaveTheOldOrTheNewStore) {
    TempFolder temp;
    const std::string userData = temp.path().u8string();
    {
        VEQ::PlatformPreferences initial(userData, "en_US");
        initial.setPreference("padding", std::string(64 * 1024, 'p').c_str());
        for (long i = 0; i < kCounters; ++i) initial.setPreference(counterKey(i).c_str(), std::to_string(i).c_str());
    }
    const std::filesystem::path file = preferencesFile(temp.path(), "en_US");

    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> microseconds(0, 10000);
    long highest = checkWholeStore(file);
    for (int kill = 0; kill < 200 && !HasFailure(); ++kill) {
        int savedPipe[2];
        ASSERT_EQ(pipe(savedPipe), 0);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) saveForever(userData, savedPipe[1]);
        close(savedPipe[1]);
        // Once one save is done, kill somewhere in the ones that follow.
        char saved;
        ASSERT_EQ(read(savedPipe[0], &saved, 1), 1);
        std::this_thread::sleep_for(std::chrono::microseconds(microseconds(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        close(savedPipe[0]);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        long now = checkWholeStore(file);
        EXPECT_GT(now, highest);
        highest = now;
    }
}

}  // namespace
#endif
