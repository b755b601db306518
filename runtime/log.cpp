#include "runtime/log.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "base/log_text.h"
#include "platform/debug_output.h"

namespace XLoop {
namespace {

constexpr char kPrefix[] = "(VEQ): ";
constexpr size_t kPrefixLength = sizeof(kPrefix) - 1;
// The message area holds the message and a NUL.
constexpr size_t kMessageAreaSize = kLogMessageBytes + 1;

std::atomic<VEQLogSink> g_logSink{nullptr};

bool endsWithLineEnd(const char* text) {
    const size_t length = std::strlen(text);
    return length > 0 && text[length - 1] == '\n';
}

}  // namespace

void setLogSink(VEQLogSink sink) {
    g_logSink.store(sink);
}

void logDebug(const char* format, ...) {
    char message[kMessageAreaSize];
    va_list args;
    va_start(args, format);
    const int formatted = std::vsnprintf(message, kMessageAreaSize, format, args);
    va_end(args);
    size_t length = formatted < 0 ? 0 : std::strlen(message);

    // Texts from pages and servers are part of many messages: written safe,
    // one message stays one line. Only a line end the message's own format
    // asks for is kept as it is.
    const bool lineEnd = endsWithLineEnd(format) && length > 0 && message[length - 1] == '\n' &&
                         static_cast<size_t>(formatted) < kMessageAreaSize;
    if (lineEnd) --length;

    char line[kPrefixLength + kMessageAreaSize];
    std::memcpy(line, kPrefix, kPrefixLength);
    char* safe = line + kPrefixLength;
    size_t safeLength = copyLogSafeText(message, length, safe, kMessageAreaSize - (lineEnd ? 1 : 0));
    if (lineEnd) {
        safe[safeLength++] = '\n';
        safe[safeLength] = '\0';
    }

    VEQLogSink sink = g_logSink.load();
    if (sink != nullptr) {
        sink(line);
    } else {
        platform::writeDebugOutput(line);
    }
}

}  // namespace XLoop
