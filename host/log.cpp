#include "host/log.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "platform/debug_output.h"
#include "xloop/xloop_client.h"

namespace XLoop {
namespace {

constexpr char kPrefix[] = "(VEQ): ";
constexpr size_t kPrefixLength = sizeof(kPrefix) - 1;
constexpr size_t kLineBufferSize = 1024;
// The message area holds 1016 bytes: at most 1015 characters and a NUL.
constexpr size_t kMessageAreaSize = 1016;

std::atomic<VEQLogSink> g_logSink{nullptr};

}  // namespace

void logDebug(const char* format, ...) {
    char line[kLineBufferSize];
    std::memcpy(line, kPrefix, kPrefixLength);
    std::memset(line + kPrefixLength, 0, kLineBufferSize - kPrefixLength);

    va_list args;
    va_start(args, format);
    std::vsnprintf(line + kPrefixLength, kMessageAreaSize, format, args);
    va_end(args);

    VEQLogSink sink = g_logSink.load();
    if (sink != nullptr) {
        sink(line);
    } else {
        platform::writeDebugOutput(line);
    }
}

}  // namespace XLoop

extern "C" void SetVEQLogSink(VEQLogSink sink) {
    XLoop::g_logSink.store(sink);
}
