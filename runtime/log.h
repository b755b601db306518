// The module's one diagnostic channel.
#pragma once

#if defined(__GNUC__)
#define XLOOP_PRINTF_FORMAT(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define XLOOP_PRINTF_FORMAT(fmt, args)
#endif

#include <cstddef>
#include <string>

#include "xloop/xloop_client.h"

namespace XLoop {

// Routes every line to sink instead of the platform's debug output; null
// restores that. Safe on any thread.
void setLogSink(VEQLogSink sink);

// Writes one line, "(VEQ): " followed by the printf-formatted message, to the
// current log sink. Control bytes and invalid UTF-8 in the message are written
// as \xNN, except a line end that the format itself ends with. The message is
// cut at 1015 bytes, never inside a character; no line end is added. Safe on
// any thread; nothing is allocated.
void logDebug(const char* format, ...) XLOOP_PRINTF_FORMAT(1, 2);

// The bytes a message keeps.
constexpr size_t kLogMessageBytes = 1015;

// A text for a %s of logDebug, cut where no message could show more of it:
// a text of megabytes from a page is then never read whole just to be cut.
class LoggedText {
public:
    explicit LoggedText(const std::string& text)
        : head(text.size() > kLogMessageBytes ? text.substr(0, kLogMessageBytes) : std::string()),
          shown(text.size() > kLogMessageBytes ? head.c_str() : text.c_str()) {}
    LoggedText(const LoggedText&) = delete;
    LoggedText& operator=(const LoggedText&) = delete;

    const char* c_str() const { return shown; }

private:
    const std::string head;
    const char* const shown;
};

}  // namespace XLoop
