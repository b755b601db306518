// The update list's way to the page: one 10 MB description quoted as JSON
// and percent-encoded for the script call, against the same two steps done
// by well-kept libraries (nlohmann::json and libcurl).
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <nlohmann/json.hpp>
#include <string>

#include "page/script_call.h"
#include "page/update_info.h"

namespace {

// Release notes as a host might pass them: prose with quotes, line ends,
// tabs, accented letters and a few other scripts.
const std::string& description() {
    static const std::string text = [] {
        const std::string line =
            "Fixes a crash when \"Save As\" meets a read-only folder; opens files from C:\\Users faster.\n"
            "\tCaf\xC3\xA9 cr\xC3\xA8me: r\xC3\xA9sum\xC3\xA9s na\xC3\xAFve \xE2\x80\x94 "
            "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xF0\x9F\x98\x80 100% done.\n";
        std::string notes;
        notes.reserve(10000000 + line.size());
        while (notes.size() < 10000000) notes += line;
        return notes;
    }();
    return text;
}

void BM_UpdatePayloadOf10MB(benchmark::State& state) {
    const char* descriptions[] = {description().c_str()};
    const char* names[] = {"Update"};
    const char* refIds[] = {"1"};
    for (auto _ : state) {
        std::string escaped = XLoop::urlEscape(XLoop::updateInfoPayload(1, refIds, names, descriptions));
        benchmark::DoNotOptimize(escaped.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(description().size()));
}
BENCHMARK(BM_UpdatePayloadOf10MB)->Unit(benchmark::kMillisecond);

void BM_LibrariesQuoteAndEscape10MB(benchmark::State& state) {
    CURL* curl = curl_easy_init();
    for (auto _ : state) {
        nlohmann::json payload = {{"updateDescriptions", description()},
                                  {"updateNames", "Update"},
                                  {"updateRefIds", "1"}};
        const std::string quoted = payload.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        char* escaped = curl_easy_escape(curl, quoted.data(), static_cast<int>(quoted.size()));
        benchmark::DoNotOptimize(escaped);
        curl_free(escaped);
    }
    curl_easy_cleanup(curl);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(description().size()));
}
BENCHMARK(BM_LibrariesQuoteAndEscape10MB)->Unit(benchmark::kMillisecond);

}  // namespace
