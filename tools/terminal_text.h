// Text from a checked file or server, made safe for the terminal that shows
// a report: a value can neither start a line of its own nor drive the
// terminal nor reorder what it shows (control bytes, C1 controls, line
// separators, bidirectional controls and invalid UTF-8 become \xNN).
#pragma once

#include <string>

#include "base/log_text.h"
#include "page/script_object.h"

namespace xloop_tool {

inline std::string terminalSafe(const std::string& text) {
    std::string safe(text.size() * 4 + 1, '\0');
    safe.resize(XLoop::copyLogSafeText(text.data(), text.size(), safe.data(), safe.size()));
    return safe;
}

// A value from a file in double quotes, escaped as in JSON, for a report line.
inline std::string shownValue(std::string_view value) {
    std::string quoted;
    XLoop::quoteJsonString(value, quoted);
    return terminalSafe(quoted);
}

}  // namespace xloop_tool
