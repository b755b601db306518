// Every task the module runs on the host's UI thread, timed as that thread
// runs it (exports called, actions and page loads raised through the
// stand-in browser library), once at a typical size and once at the largest
// the module accepts. Named "LongTask/<task>/typical" and
// "LongTask/<task>/limits"; scripts/bench_table.py prints them as a table.
// Saves wait for the disk: "LongTask/one save's disk wait" is the floor of
// an all-or-nothing save of the same bytes, reported beside them.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/bare_save.h"
#include "page/action_arguments.h"
#include "page/last_viewed_card_action_handler.h"
#include "page/page_load_handler.h"
#include "page/room_user_data.h"
#include "page/xloop_action_handler.h"
#include "prefs/preference_limits.h"
#include "prefs/preference_stores.h"
#include "prefs/preferences_document.h"
#include "runtime/dispatcher.h"
#include "testing/veqpod/veqpod_control.h"
#include "xloop/xloop_client.h"

namespace fs = std::filesystem;

namespace {

constexpr char kRoom[] = "https://room.test/veqtemplate/index.html?1700000000";
// The longest text of one argument the module still decodes, its
// object's framing aside; a longer one is refused unread.
constexpr size_t kLargestActionArgument = XLoop::kMaxActionArgumentBytes - 64;
// The largest update list a host has been seen to pass; no limit caps it.
constexpr size_t kLargestUpdateList = 10u << 20;
// The shipped configuration file is read up to this size.
constexpr size_t kLargestConfigurationFile = 16u << 20;

void quiet(const char*) {}

int g_folders = 0;

// A user-data folder of its own, removed at the end.
class Folder {
public:
    Folder()
        : path(fs::temp_directory_path() /
               ("xloop-long-" + std::to_string(getpid()) + "-" + std::to_string(++g_folders))) {
        fs::create_directories(path);
    }
    ~Folder() { fs::remove_all(path); }
    const fs::path path;
};

// `count` short entries; or, full, a store as large as the module lets it
// grow: the page's share filled (one value at the limit, every byte escaped)
// and the host's three cached values at the limit, every byte escaped too.
std::map<std::string, std::string> pageEntries(bool full, size_t count = 100) {
    std::map<std::string, std::string> entries;
    if (!full) {
        for (size_t i = 0; i < count; ++i) {
            entries["preference" + std::to_string(i)] = "value \"" + std::to_string(i) + "\" 100%";
        }
        return entries;
    }
    entries["big"] = std::string(XLoop::kMaxPreferenceValueBytes, '&');
    // Room left for a few more entries, so that a round can add one.
    for (size_t i = 1; i < XLoop::kMaxPagePreferenceEntries - 10; ++i)
        entries["p" + std::to_string(i)] = std::string(100, 'v');
    return entries;
}

std::map<std::string, std::string> hostEntries(bool full) {
    const std::string largest(full ? XLoop::kMaxPreferenceValueBytes : 20, '"');
    return {{"killswitch", largest}, {"serverurl", largest}, {"url", largest}};
}

std::map<std::string, std::string> allEntries(bool full) {
    std::map<std::string, std::string> entries = pageEntries(full);
    entries.merge(hostEntries(full));
    return entries;
}

// A room client of the stand-in library with the module's handlers, its
// store filled untimed.
class Room {
public:
    explicit Room(bool full) {
        SetVEQLogSink(quiet);
        userDataPath = folder.path.string();
        record.url = roomURL.data();
        record.product = product.data();
        record.version = version.data();
        record.locale = locale.data();
        record.userDataPath = userDataPath.data();
        record.installationType = installationType.data();
        client = CreateBrowser(nullptr, nullptr, "1");
        for (const char* action : {"writePreference", "openURI", "readPreference", "writeLog"})
            client->registerActionHandler(action, &preferences);
        client->registerActionHandler("writeLastViewedCardID", &lastViewed);
        client->setUserData(XLoop::kLastViewedHandlerKey, &lastViewed);
        client->setPageLoadHandler(std::make_shared<VEQ::PageLoadHandler>(client, &record));
        VEQ::writePagePreferences(store().get(), pageEntries(full));
        for (const auto& [key, value] : hostEntries(full)) store()->setPreference(key.c_str(), value.c_str());
    }
    ~Room() {
        veqpodDestroyClient(client);
        SetVEQLogSink(nullptr);
    }
    std::shared_ptr<VEQ::VEQPreferences> store() { return VEQ::getPreferenceStore(userDataPath, locale); }
    void invoke(const char* action, const std::string& argument) {
        veqpodInvokeAction(client, action, argument.c_str());
    }

    Folder folder;
    std::string userDataPath;
    std::string roomURL = kRoom;
    std::string product = "Studio", version = "17.0", locale = "en_us", installationType = "retail";
    VEQConfiguration record{};
    BrowserClient* client = nullptr;
    VEQ::XloopActionHandler preferences{folder.path.string(), "en_us"};
    VEQ::XLoopWriteLastViewedCardIDActionHandler lastViewed{folder.path.string(), "en_us"};
};

std::string pair(const std::string& key, const std::string& value) {
    return R"({"key":")" + key + R"(", "value":")" + value + "\"}";
}

using Task = std::function<void(benchmark::State&, bool full)>;

void registerTask(const std::string& task, Task run, int64_t limitIterations = 0) {
    benchmark::RegisterBenchmark(("LongTask/" + task + "/typical").c_str(),
                                 [run](benchmark::State& state) { run(state, false); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    auto* limits = benchmark::RegisterBenchmark(("LongTask/" + task + "/limits").c_str(),
                                                [run](benchmark::State& state) { run(state, true); });
    limits->Unit(benchmark::kMillisecond)->UseRealTime();
    if (limitIterations > 0) limits->Iterations(limitIterations);
}

// The first request for a store reads its file: a new locale each round.
void firstStoreLoad(benchmark::State& state, bool full) {
    SetVEQLogSink(quiet);
    Folder folder;
    const std::string document = XLoop::PreferenceEntries(allEntries(full)).document();
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string locale = "l" + std::to_string(++round);
        fs::create_directories(folder.path / "VEQ" / locale);
        std::ofstream(folder.path / "VEQ" / locale / "VEQPrefs.xml", std::ios::binary) << document;
        state.ResumeTiming();
        benchmark::DoNotOptimize(VEQ::getPreferenceStore(folder.path.string(), locale));
    }
    SetVEQLogSink(nullptr);
}

void writePreference(benchmark::State& state, bool full) {
    Room room(full);
    const std::string value(full ? XLoop::kMaxPreferenceValueBytes : 20, 'w');
    int round = 0;
    for (auto _ : state) {
        room.invoke("writePreference", pair(full ? "big" : "preference1", value.substr(++round % 2)));
    }
}

// A missing key's default is stored: one save.
void readPreference(benchmark::State& state, bool full) {
    Room room(full);
    const std::string fallback(full ? XLoop::kMaxPreferenceValueBytes : 20, 'd');
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        room.store()->setPreference("big", "");  // makes room for the default again
        const std::string missing = "missing" + std::to_string(++round);
        state.ResumeTiming();
        room.invoke("readPreference", R"({"defaultValue":")" + fallback + R"(", "key":")" + missing + "\"}");
    }
}

// Arguments the module refuses or only logs: their cost is reading them.
void argumentOnly(benchmark::State& state, bool full, const char* action, const char* name) {
    Room room(false);
    const std::string text(full ? kLargestActionArgument : 100, 'x');
    const std::string argument = std::string("{\"") + name + "\":\"" + text + "\"}";
    for (auto _ : state) room.invoke(action, argument);
}

void writeLog(benchmark::State& state, bool full) { argumentOnly(state, full, "writeLog", "msg"); }

// Past any limit the store takes: refused, nothing saved.
void writePreferenceRefused(benchmark::State& state, bool full) {
    Room room(false);
    const std::string argument =
        pair("k", std::string(full ? kLargestActionArgument : XLoop::kMaxPreferenceValueBytes + 1, 'x'));
    for (auto _ : state) room.invoke("writePreference", argument);
}

// A link the module refuses by its shape, so that nothing is opened.
void openURI(benchmark::State& state, bool full) { argumentOnly(state, full, "openURI", "uri"); }

void writeLastViewedCardID(benchmark::State& state, bool full) {
    Room room(full);
    NotifyXLoopRoomVisited(room.client);
    const std::string value(full ? XLoop::kMaxPreferenceValueBytes : 20, 'c');
    int round = 0;
    for (auto _ : state)
        room.invoke("writeLastViewedCardID", pair(full ? "big" : "lastViewedCardID", value.substr(++round % 2)));
}

// The room page finished loading: its init payload built and handed over.
void roomLoad(benchmark::State& state, bool full) {
    Room room(full);
    const std::string description(full ? kLargestUpdateList : 200, 'u');
    const char* texts[] = {description.c_str()};
    const char* names[] = {"Update"};
    const char* ids[] = {"1"};
    SetUpdateInfo(room.client, 1, ids, names, texts);
    for (auto _ : state) veqpodFireLoadFinished(room.client, kRoom);
    const int calls = veqpodCallCount(room.client);
    for (int i = calls - 1; i >= 0; --i) {
        if (std::string(veqpodCallOperation(room.client, i)) != "executeScript") continue;
        state.counters["script_MiB"] = static_cast<double>(std::strlen(veqpodCallArgument(room.client, i))) / (1 << 20);
        break;
    }
}

// The host reports the room entered with the pairs the page sent waiting.
void visit(benchmark::State& state, bool full) {
    const size_t pairs = full ? XLoop::kMaxPagePreferenceEntries - 1 : 10;
    for (auto _ : state) {
        state.PauseTiming();
        {
            auto room = std::make_unique<Room>(false);
            for (size_t i = 0; i < pairs; ++i)
                room->invoke("writeLastViewedCardID", pair("card" + std::to_string(i), "c" + std::to_string(i)));
            state.ResumeTiming();
            NotifyXLoopRoomVisited(room->client);
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
}

void updateList(benchmark::State& state, bool full) {
    Room room(false);
    veqpodFireLoadFinished(room.client, kRoom);
    const size_t count = full ? 3 : 5;
    const std::string text(full ? kLargestUpdateList / 9 : 40, 't');  // each text in three lists
    std::vector<const char*> texts(count, text.c_str());
    for (auto _ : state)
        SetUpdateInfo(room.client, static_cast<int32_t>(count), texts.data(), texts.data(), texts.data());
}

void setViewForced(benchmark::State& state, bool full) {
    Room room(full);
    bool forced = false;
    for (auto _ : state) SetXloopViewForced(forced = !forced, room.userDataPath.c_str(), room.locale.c_str());
}

void isViewForced(benchmark::State& state, bool full) {
    Room room(full);
    SetXloopViewForced(true, room.userDataPath.c_str(), room.locale.c_str());
    for (auto _ : state) benchmark::DoNotOptimize(IsXLoopViewForced(room.userDataPath.c_str(), room.locale.c_str()));
}

const fs::path& configurationFile(bool full) {
    static const auto make = [](size_t size, const char* name) {
        const fs::path path = fs::temp_directory_path() / name;
        std::string xml = "<?xml version=\"1.0\"?>\n<veqconfig>\n  <defaults killswitch=\"on\" url=\"\"/>\n";
        for (int product = 0; xml.size() < size - 200; ++product) {
            xml += "  <product" + std::to_string(product) +
                   "><ver_1><en_us killswitch=\"off\" url=\"https://r/\"/>"
                   "</ver_1></product" +
                   std::to_string(product) + ">\n";
        }
        xml +=
            "  <target><ver_1><en_us killswitch=\"off\" "
            "url=\"https://room.example/\"/></ver_1></target>\n</veqconfig>\n";
        std::ofstream(path, std::ios::binary) << xml;
        return path;
    };
    static const fs::path typical = make(4096, "xloop-long-VEQConfig-typical.xml");
    static const fs::path largest = make(kLargestConfigurationFile, "xloop-long-VEQConfig-largest.xml");
    return full ? largest : typical;
}

void configurationResolution(benchmark::State& state, bool full) {
    SetVEQLogSink(quiet);
    InitializeVEQ(nullptr);
    const std::string path = configurationFile(full).string();
    for (auto _ : state) {
        VEQConfiguration* record = GetVEQConfiguration(path.c_str(), "http://127.0.0.1:9/", "target", "1", "en_US", "",
                                                       nullptr, nullptr, nullptr, false, false);
        benchmark::DoNotOptimize(record->url);
        FreeVEQConfiguration(record);
    }
    ShutDownVEQ();
    XLoop::destroyMainThreadDispatcher();
    SetVEQLogSink(nullptr);
}

// Write, fsync, rename and fsync of the folder for a file as large as the
// store's: the part of every save above that waits for the disk.
void diskWaitOfOneSave(benchmark::State& state, bool full) {
    Folder folder;
    const std::string bytes = XLoop::PreferenceEntries(allEntries(full)).document();
    state.counters["file_MiB"] = static_cast<double>(bytes.size()) / (1 << 20);
    saveBareInEveryIteration(state, folder.path, bytes);
}

const bool registered = [] {
    registerTask("first store load", firstStoreLoad);
    registerTask("writePreference", writePreference);
    registerTask("writePreference refused", writePreferenceRefused, 3);
    registerTask("readPreference of a missing key", readPreference, 5);
    registerTask("writeLog", writeLog, 3);
    registerTask("openURI refused", openURI, 3);
    registerTask("writeLastViewedCardID after the visit", writeLastViewedCardID);
    registerTask("room load (initXLoopRoom)", roomLoad);
    registerTask("visit (NotifyXLoopRoomVisited)", visit, 3);
    registerTask("update list (SetUpdateInfo)", updateList);
    registerTask("SetXloopViewForced", setViewForced);
    registerTask("IsXLoopViewForced", isViewForced);
    registerTask("configuration resolution", configurationResolution);
    registerTask("one save's disk wait", diskWaitOfOneSave);
    return true;
}();

}  // namespace
