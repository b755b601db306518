// The module's one diagnostic channel.
#pragma once

#if defined(__GNUC__)
#define XLOOP_PRINTF_FORMAT(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define XLOOP_PRINTF_FORMAT(fmt, args)
#endif

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

}  // namespace XLoop
