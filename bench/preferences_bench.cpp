// What one setPreference costs against the floor of an all-or-nothing save
// of the same bytes, and against what a user might pick instead: SQLite with
// one key/value pair per transaction and synchronous=FULL.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "prefs/platform_preferences.h"
#include "prefs/preferences_document.h"

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
    const std::string file = (folder.path / "VEQPrefs.xml").string();
    const std::string temporary = file + ".new";
    for (auto _ : state) {
        int descriptor = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (write(descriptor, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
            state.SkipWithError("write failed");
        }
        fsync(descriptor);
        close(descriptor);
        std::rename(temporary.c_str(), file.c_str());
        int folderDescriptor = open(folder.path.c_str(), O_RDONLY | O_DIRECTORY);
        fsync(folderDescriptor);
        close(folderDescriptor);
    }
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

BENCHMARK(BM_SetPreference)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_WriteFlushRenameFloor)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_SqliteOnePairPerTransaction)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
