// Hostile input handled in bounded time: a document type with an entity bomb
// is refused before it is expanded, an element of 200,000 attributes is
// refused before the XML library compares them (well within a second), as it
// is when the encoding the declaration names would hide it from a byte scan, a
// preferences file at the store's limits loads in a fraction of one, a 10 MiB
// action argument is read in one pass, and an update list's script payload
// grows linearly with its size.
#include <benchmark/benchmark.h>

#include <map>
#include <string>

#include "config/config_file.h"
#include "page/script_object.h"
#include "prefs/preference_limits.h"
#include "prefs/preferences_document.h"
#include "testing/encoded_text.h"
#include "xloop/xloop_client.h"

namespace {

void quiet(const char*) {}

std::string entityBomb() {
    std::string xml = "<?xml version=\"1.0\"?>\n<!DOCTYPE veqconfig [\n<!ENTITY e0 \"ha\">\n";
    for (int i = 1; i < 10; ++i) {
        xml += "<!ENTITY e" + std::to_string(i) + " \"";
        for (int j = 0; j < 10; ++j) xml += "&e" + std::to_string(i - 1) + ";";
        xml += "\">\n";
    }
    return xml + "]>\n<veqconfig><defaults killswitch=\"&e9;\"/><general a=\"&e9;\"/></veqconfig>";
}

void BM_EntityBombRefusedByTheConfigurationReader(benchmark::State& state) {
    const std::string bomb = entityBomb();
    for (auto _ : state) {
        std::string killswitch, url, serverurl;
        if (XLoop::readConfigSections(bomb, "p", "1", "en_us", killswitch, url, serverurl)) {
            state.SkipWithError("the bomb was read");
        }
    }
}
BENCHMARK(BM_EntityBombRefusedByTheConfigurationReader)->Unit(benchmark::kMicrosecond);

void BM_EntityBombRefusedByThePreferencesLoader(benchmark::State& state) {
    const std::string bomb = entityBomb();
    for (auto _ : state) {
        std::map<std::string, std::string> preferences;
        XLoop::readPreferencesDocument(bomb, preferences);
        if (!preferences.empty()) state.SkipWithError("the bomb was read");
    }
}
BENCHMARK(BM_EntityBombRefusedByThePreferencesLoader)->Unit(benchmark::kMicrosecond);

std::string elementOfAttributes(const std::string& name, size_t count) {
    std::string element = "<" + name;
    for (size_t i = 0; i < count; ++i) element += " a" + std::to_string(i) + "=\"\"";
    return element + "/>";
}

// Reads a document the configuration reader must refuse, as often as the
// benchmark asks.
void readRefusedConfiguration(benchmark::State& state, const std::string& document) {
    SetVEQLogSink(quiet);
    for (auto _ : state) {
        std::string killswitch, url, serverurl;
        if (XLoop::readConfigSections(document, "p", "1", "en_us", killswitch, url, serverurl)) {
            state.SkipWithError("the element was read");
        }
    }
    SetVEQLogSink(nullptr);
}

void BM_200000AttributesRefusedByTheConfigurationReader(benchmark::State& state) {
    readRefusedConfiguration(state, "<veqconfig>" + elementOfAttributes("defaults", 200000) + "</veqconfig>");
}
BENCHMARK(BM_200000AttributesRefusedByTheConfigurationReader)->Unit(benchmark::kMillisecond);

void BM_200000AttributesRefusedByThePreferencesLoader(benchmark::State& state) {
    const std::string many = elementOfAttributes("general", 200000);
    for (auto _ : state) {
        std::map<std::string, std::string> preferences;
        if (XLoop::readPreferencesDocument(many, preferences).ok) state.SkipWithError("the element was read");
    }
}
BENCHMARK(BM_200000AttributesRefusedByThePreferencesLoader)->Unit(benchmark::kMillisecond);

// After a declaration in ASCII, the XML library reads the rest in the
// encoding it names: what reached the library unseen before the scan read
// that encoding too.
void BM_150000AttributesInUtf16AfterAnAsciiDeclarationRefusedByTheConfigurationReader(benchmark::State& state) {
    const std::string body = "?><veqconfig>" + elementOfAttributes("defaults", 150000) + "</veqconfig>";
    readRefusedConfiguration(state, "<?xml version=\"1.0\" encoding=\"UTF-16LE\"" + xloop_test::utf16(body));
}
BENCHMARK(BM_150000AttributesInUtf16AfterAnAsciiDeclarationRefusedByTheConfigurationReader)
    ->Unit(benchmark::kMicrosecond);

void BM_MillionAttributesInEbcdicRefusedByThePreferencesLoader(benchmark::State& state) {
    const std::string many = "<?xml version=\"1.0\" encoding=\"IBM037\"" +
                             xloop_test::ebcdic("?>" + elementOfAttributes("general", 1000000));
    for (auto _ : state) {
        std::map<std::string, std::string> preferences;
        if (XLoop::readPreferencesDocument(many, preferences).ok) state.SkipWithError("the element was read");
    }
}
BENCHMARK(BM_MillionAttributesInEbcdicRefusedByThePreferencesLoader)->Unit(benchmark::kMicrosecond);

// The most a store writes: as many entries as it takes, one value at its
// limit made of "&", 8 MiB in all.
void BM_PreferencesFileAtTheLimitsLoaded(benchmark::State& state) {
    std::map<std::string, std::string> full = {{"big", std::string(XLoop::kMaxPreferenceValueBytes, '&')}};
    for (size_t i = 1; i < XLoop::kMaxPreferenceEntries; ++i) full["e" + std::to_string(i)] = std::string(650, 'v');
    const std::string document = XLoop::PreferenceEntries(full).document();
    if (document.size() > XLoop::kMaxPreferencesFileBytes) state.SkipWithError("past the file limit");
    for (auto _ : state) {
        std::map<std::string, std::string> preferences;
        if (!XLoop::readPreferencesDocument(document, preferences).ok) state.SkipWithError("not loaded");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(document.size()));
}
BENCHMARK(BM_PreferencesFileAtTheLimitsLoaded)->Unit(benchmark::kMillisecond);

void BM_ActionArgumentsOf10MiB(benchmark::State& state) {
    const std::string arguments = "{\"key\":\"k\", \"value\":\"" + std::string(10 << 20, 'v') + "\"}";
    for (auto _ : state) benchmark::DoNotOptimize(XLoop::parseActionArguments(arguments));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(arguments.size()));
}
BENCHMARK(BM_ActionArgumentsOf10MiB)->Unit(benchmark::kMillisecond);

// Megabytes of update texts full of quotes and invalid UTF-8, the worst case
// for escaping; the time per byte stays the same as the list grows.
void BM_UpdateListOfMegabytes(benchmark::State& state) {
    std::string text(static_cast<size_t>(state.range(0)) * 1000000 / 3, '"');
    for (size_t i = 0; i < text.size(); i += 7) text[i] = '\xff';
    const char* texts[] = {text.c_str(), text.c_str(), text.c_str()};
    SetVEQLogSink(quiet);
    for (auto _ : state) SetUpdateInfo(nullptr, 3, texts, texts, texts);
    SetVEQLogSink(nullptr);
    state.SetBytesProcessed(state.iterations() * state.range(0) * 1000000);
}
BENCHMARK(BM_UpdateListOfMegabytes)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

}  // namespace
