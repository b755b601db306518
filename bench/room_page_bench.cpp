// What initialising the room page costs: onLoadFinished for a room page with
// 10, 100 and 1000 stored preferences (the payload, the nested preferences
// object, both escapings), next to building the same script text with
// nlohmann::json; and the object text alone, ours against nlohmann's dump.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "page/page_load_handler.h"
#include "page/script_call.h"
#include "page/script_object.h"
#include "prefs/preference_stores.h"
#include "xloop/xloop_client.h"

namespace fs = std::filesystem;

namespace {

constexpr char kRoom[] = "https://room.test/veqtemplate/index.html?1700000000";

void discardLine(const char*) {}

// A browser client that keeps only the size of the last script it was given.
class DiscardingClient final : public BrowserClient {
public:
    void reservedSlot1() override {}
    void reservedSlot2() override {}
    void reservedSlot3() override {}
    void reservedSlot4() override {}
    void reservedSlot5() override {}
    void reservedSlot6() override {}
    bool setUserData(const char*, void*) override { return true; }
    void* getUserData(const char*) override { return nullptr; }
    void reservedSlot9() override {}
    void reservedSlot10() override {}
    bool registerActionHandler(const char*, VEQ::JSActionHandler*) override { return true; }
    void reservedSlot12() override {}
    bool setPageLoadHandler(std::shared_ptr<VEQ::IPageLoadHandler>) override { return true; }
    void executeScript(const char* script) override { lastScriptSize = std::char_traits<char>::length(script); }
    void reservedSlot15() override {}
    void loadURL(const char*) override {}
    void reservedSlot17() override {}
    void setPageBusy(bool) override {}
    bool setDestroyNotifier(VEQ::DestroyNotifier*) override { return true; }

    size_t lastScriptSize = 0;
};

// A record and a store holding `count` preferences whose values need escaping.
class RoomFixture {
public:
    // Each fixture has a folder, and so a store, of its own.
    explicit RoomFixture(int64_t count)
        : folder(fs::temp_directory_path() / ("xloop-room-bench-" + std::to_string(getpid()) + "-" +
                                              std::to_string(fixtures++))) {
        SetVEQLogSink(discardLine);
        fs::create_directories(folder);
        userDataPath = folder.string();
        record.url = roomURL.data();
        record.product = product.data();
        record.version = version.data();
        record.locale = locale.data();
        record.userDataPath = userDataPath.data();
        record.installationType = installationType.data();
        auto store = VEQ::getPreferenceStore(userDataPath, locale);
        for (int64_t i = 0; i < count; ++i) {
            const std::string key = "preference" + std::to_string(i);
            const std::string value = "value \"" + std::to_string(i) + "\" for caf\xc3\xa9 \\ 100%";
            store->setPreference(key.c_str(), value.c_str());
        }
    }
    ~RoomFixture() {
        fs::remove_all(folder);
        SetVEQLogSink(nullptr);
    }

    fs::path folder;
    std::string userDataPath;
    std::string roomURL = kRoom;
    std::string product = "Studio", version = "17.0", locale = "en_us", installationType = "retail";
    VEQConfiguration record{};

private:
    static inline int fixtures = 0;
};

void BM_OnLoadFinishedRoomPage(benchmark::State& state) {
    RoomFixture room(state.range(0));
    DiscardingClient client;
    VEQ::PageLoadHandler handler(&client, &room.record);
    for (auto _ : state) handler.onLoadFinished(kRoom);
    state.counters["script_bytes"] = static_cast<double>(client.lastScriptSize);
}
BENCHMARK(BM_OnLoadFinishedRoomPage)->Arg(10)->Arg(100)->Arg(1000);

// The same script, from the same store, with nlohmann::json writing both objects.
void BM_NlohmannRoomPageScript(benchmark::State& state) {
    RoomFixture room(state.range(0));
    const VEQConfiguration& record = room.record;
    size_t scriptSize = 0;
    for (auto _ : state) {
        auto store = VEQ::getPreferenceStore(record.userDataPath, record.locale);
        const std::string lastViewedCardID = store->getPreference("lastViewedCardID", "");
        const nlohmann::json preferences(store->getAllPreferences());
        const nlohmann::json payload = {{"installationType", record.installationType},
                                        {"isMASBuild", record.isMASBuild ? "yes" : "no"},
                                        {"isWASBuild", record.isWASBuild ? "yes" : "no"},
                                        {"isWindows", "yes"},
                                        {"lastViewedCardID", lastViewedCardID},
                                        {"locale", record.locale},
                                        {"preferences", XLoop::urlEscape(preferences.dump())},
                                        {"product", record.product},
                                        {"version", record.version}};
        const std::string script =
            XLoop::scriptCallWithEscapedPayload("initXLoopRoom", XLoop::urlEscape(payload.dump()));
        scriptSize = script.size();
        benchmark::DoNotOptimize(script.data());
    }
    state.counters["script_bytes"] = static_cast<double>(scriptSize);
}
BENCHMARK(BM_NlohmannRoomPageScript)->Arg(10)->Arg(100)->Arg(1000);

void BM_SerializeJsonObject(benchmark::State& state) {
    RoomFixture room(state.range(0));
    const XLoop::ScriptObject preferences =
        VEQ::getPreferenceStore(room.userDataPath, room.locale)->getAllPreferences();
    for (auto _ : state) benchmark::DoNotOptimize(XLoop::serializeJsonObject(preferences));
}
BENCHMARK(BM_SerializeJsonObject)->Arg(10)->Arg(100)->Arg(1000);

void BM_NlohmannDump(benchmark::State& state) {
    RoomFixture room(state.range(0));
    const XLoop::ScriptObject preferences =
        VEQ::getPreferenceStore(room.userDataPath, room.locale)->getAllPreferences();
    for (auto _ : state) benchmark::DoNotOptimize(nlohmann::json(preferences).dump());
}
BENCHMARK(BM_NlohmannDump)->Arg(10)->Arg(100)->Arg(1000);

}  // namespace
