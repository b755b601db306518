// What one setPreference costs against the floor of an all-or-nothing save
// of the same bytes, and against what a user might pick instead: SQLite with
// one key/value pair per transaction and synchronous=FULL. Then what a page
// can make the store hold, and what the room's entry costs the UI thread.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "bench/bare_save.h"
#include "page/last_viewed_card_action_handler.h"
#include "prefs/platform_preferences.h"
#include "prefs/preference_limits.h"
#include "prefs/preferences_document.h"
#include "xloop/xloop_client.h"

namespace fs = std::filesystem;

namespace {

class BenchFolder {
public:
    BenchFolder() : path(fs::temp_directory_path() / ("xloop-bench-" + std::to_string(getpid()))) {
        fs::create_directories(path);
    }
    ~BenchFolder() { fs::remove_all(path); }
    const fs::path path;
};

std::string key(int64_t index) { return "preference" + std::to_string(index); }
std::string value(int64_t index) { return "value of preference " + std::to_string(index); }

void BM_SetPreference(benchmark::State& state) {
    BenchFolder folder;
    VEQ::PlatformPreferences store(folder.path.string(), "en_US");
    for (int64_t i = 0; i < state.range(0); ++i) store.setPreference(key(i).c_str(), value(i).c_str());
    int64_t round = 0;
    for (auto _ : state) {
        ++round;
        store.setPreference(key(round % state.range(0)).c_str(), value(round).c_str());
    }
}

// Temporary file, write, fsync, rename, fsync of the folder: the least an
// all-or-nothing save can do.
void BM_WriteFlushRenameFloor(benchmark::State& state) {
    BenchFolder folder;
    std::map<std::string, std::string> entries;
    for (int64_t i = 0; i < state.range(0); ++i) entries[key(i)] = value(i);
    const std::string bytes = XLoop::PreferenceEntries(entries).document();
    saveBareInEveryIteration(state, folder.path, bytes);
}

void BM_SqliteOnePairPerTransaction(benchmark::State& state) {
    BenchFolder folder;
    sqlite3* database = nullptr;
    sqlite3_open((folder.path / "prefs.sqlite").string().c_str(), &database);
    sqlite3_exec(database, "PRAGMA synchronous=FULL; CREATE TABLE prefs(key TEXT PRIMARY KEY, value TEXT);",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt* upsert = nullptr;
    sqlite3_prepare_v2(database, "INSERT OR REPLACE INTO prefs VALUES(?, ?)", -1, &upsert, nullptr);
    const auto store = [upsert](const std::string& k, const std::string& v) {
        sqlite3_bind_text(upsert, 1, k.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(upsert, 2, v.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_step(upsert);
        sqlite3_reset(upsert);
    };
    for (int64_t i = 0; i < state.range(0); ++i) store(key(i), value(i));
    int64_t round = 0;
    for (auto _ : state) {
        ++round;
        store(key(round % state.range(0)), value(round));  // autocommit: one transaction each
    }
    sqlite3_finalize(upsert);
    sqlite3_close(database);
}

void quiet(const char*) {}

// 1,000 entries of the largest value under a key the file cannot carry (a
// blank): the store holds what its limit allows and refuses the rest.
void BM_HeldByUnwritableEntries(benchmark::State& state) {
    SetVEQLogSink(quiet);
    const std::string largest(XLoop::kMaxPreferenceValueBytes, 'v');
    size_t held = 0;
    for (auto _ : state) {
        BenchFolder folder;
        VEQ::PlatformPreferences store(folder.path.string(), "en_US");
        for (int i = 0; i < 1000; ++i) store.setPreference(("left out " + std::to_string(i)).c_str(), largest.c_str());
        held = 0;
        for (const auto& [key, value] : store.getAllPreferences()) held += key.size() + value.size();
    }
    SetVEQLogSink(nullptr);
    state.counters["held_MiB"] = static_cast<double>(held) / (1024 * 1024);
}

// The room's entry with as many last-viewed pairs waiting as the page may
// store: what the host's UI thread spends saving them.
void BM_RoomEntryFlushOfTheMostWaitingPairs(benchmark::State& state) {
    SetVEQLogSink(quiet);
    BenchFolder folder;
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // A store of its own each round, and the folder removed untimed.
        VEQ::XLoopWriteLastViewedCardIDActionHandler handler(folder.path.string(), "l" + std::to_string(++round));
        for (size_t i = 0; i < XLoop::kMaxPagePreferenceEntries; ++i) {
            const std::string pair = R"({"key":")" + key(static_cast<int64_t>(i)) + R"(", "value":"card)" +
                                     std::to_string(i) + "\"}";
            char* reply = nullptr;
            handler.handleAction("writeLastViewedCardID", pair.c_str(), &reply);
            ::operator delete(reply);
        }
        state.ResumeTiming();
        handler.markRoomVisited();
        handler.flushPendingValues();
    }
    SetVEQLogSink(nullptr);
}

BENCHMARK(BM_SetPreference)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_WriteFlushRenameFloor)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_SqliteOnePairPerTransaction)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_HeldByUnwritableEntries)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RoomEntryFlushOfTheMostWaitingPairs)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
