// Resolving the configuration from a 1 MiB shipped file with many products,
// next to a bare parse of the same bytes by the same XML library and to the
// attribute count the reader makes first; and how
// long the fetch worker takes to end once ShutDownVEQ cancels a transfer.
#include <benchmark/benchmark.h>
#include <libxml/parser.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "base/xml_attribute_scan.h"
#include "config/remote_config.h"
#include "runtime/dispatcher.h"
#include "testing/http_test_server.h"
#include "xloop/xloop_client.h"

namespace {

using Clock = std::chrono::steady_clock;

const std::filesystem::path& shippedFile() {
    static const std::filesystem::path file = [] {
        auto path = std::filesystem::temp_directory_path() / "xloop-bench-VEQConfig.xml";
        std::string xml = "<?xml version=\"1.0\"?>\n<veqconfig>\n  <defaults killswitch=\"on\" url=\"\"/>\n";
        for (int product = 0; xml.size() < (1u << 20); ++product) {
            xml += "  <product" + std::to_string(product) + "><defaults url=\"https://room.example/p\"/>";
            for (int version = 0; version < 5; ++version) {
                xml += "<ver_" + std::to_string(version) + "><defaults serverurl=\"https://s/\"/>"
                       "<en_us killswitch=\"off\" url=\"https://room.example/en\"/>"
                       "<de_de killswitch=\"off\" url=\"https://room.example/de\"/></ver_" +
                       std::to_string(version) + ">";
            }
            xml += "</product" + std::to_string(product) + ">\n";
        }
        xml += "  <target><ver_1><en_us killswitch=\"off\" url=\"https://room.example/\"/></ver_1></target>\n";
        xml += "</veqconfig>\n";
        std::ofstream(path, std::ios::binary) << xml;
        return path;
    }();
    return file;
}

void discardLine(const char*) {}

void BM_BareSaxParseOfTheShippedFile(benchmark::State& state) {
    std::ifstream in(shippedFile(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    xmlSAXHandler handler{};
    handler.initialized = XML_SAX2_MAGIC;
    for (auto _ : state) {
        xmlParserCtxtPtr context = xmlCreatePushParserCtxt(&handler, nullptr, nullptr, 0, nullptr);
        xmlCtxtUseOptions(context, XML_PARSE_NONET);
        xmlParseChunk(context, bytes.data(), static_cast<int>(bytes.size()), 1);
        xmlFreeParserCtxt(context);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_BareSaxParseOfTheShippedFile)->Unit(benchmark::kMillisecond);

// The count of attributes the reader makes before the parse, so that no
// element of a hostile file sets the parser comparing every pair of them.
void BM_AttributePreScanOfTheShippedFile(benchmark::State& state) {
    std::ifstream in(shippedFile(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (auto _ : state) {
        if (XLoop::scanAttributeWork(bytes.data(), bytes.size(), XLoop::kMaxAttributesPerElement) !=
            XLoop::AttributeScan::Within) {
            state.SkipWithError("refused");
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_AttributePreScanOfTheShippedFile)->Unit(benchmark::kMillisecond);

// No user-data folder, so every call reads the shipped file; the server
// fetch it schedules fails at once and is stopped by the next call.
void BM_GetVEQConfigurationFromTheShippedFile(benchmark::State& state) {
    SetVEQLogSink(discardLine);
    InitializeVEQ(nullptr);
    const std::string path = shippedFile().string();
    for (auto _ : state) {
        VEQConfiguration* record = GetVEQConfiguration(path.c_str(), "http://127.0.0.1:9/", "target", "1",
                                                       "en_US", "", nullptr, nullptr, nullptr, false, false);
        benchmark::DoNotOptimize(record->url);
        FreeVEQConfiguration(record);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
    ShutDownVEQ();
    XLoop::destroyMainThreadDispatcher();
    SetVEQLogSink(nullptr);
}
BENCHMARK(BM_GetVEQConfigurationFromTheShippedFile)->Unit(benchmark::kMillisecond);

std::mutex g_finishedMutex;
Clock::time_point g_workerFinished;

void noteWorkerEnd(const char* line) {
    if (std::string(line) == "(VEQ): Reading remote parameters task finished executing") {
        std::lock_guard<std::mutex> lock(g_finishedMutex);
        g_workerFinished = Clock::now();
    }
}

// From ShutDownVEQ to the fetch worker's last line, during a slow transfer.
void BM_ShutdownToFetchWorkerEnd(benchmark::State& state) {
    xloop_test::HttpTestServer server;
    xloop_test::HttpRoute slow;
    slow.body = std::string(1000, ' ');
    slow.dripMilliseconds = 20;
    server.setRoute("/c.xml", slow);
    const std::string url = server.url("/c.xml");
    SetVEQLogSink(noteWorkerEnd);
    for (auto _ : state) {
        InitializeVEQ(nullptr);
        {
            std::lock_guard<std::mutex> lock(g_finishedMutex);
            g_workerFinished = {};
        }
        const int requests = server.requestCount();
        FreeVEQConfiguration(GetVEQConfiguration(nullptr, url.c_str(), "p", "1", "en_US", "", nullptr, nullptr, nullptr,
                                       false, false));
        while (server.requestCount() == requests) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::milliseconds(30));  // into the body
        const auto shutdown = Clock::now();
        ShutDownVEQ();
        for (;;) {
            std::lock_guard<std::mutex> lock(g_finishedMutex);
            if (g_workerFinished != Clock::time_point{}) break;
        }
        state.SetIterationTime(std::chrono::duration<double>(g_workerFinished - shutdown).count());
    }
    XLoop::destroyMainThreadDispatcher();
    SetVEQLogSink(nullptr);
}
BENCHMARK(BM_ShutdownToFetchWorkerEnd)->Iterations(50)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
