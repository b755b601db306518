// The library's lines on standard error.
#pragma once

#include <string>

namespace veqpod_webkit {

// Writes "VEQPod: <what> <text>" as one line. The text may come from a page
// or the network, so it is escaped: it cannot forge a line of its own.
void logEscaped(const char* what, const std::string& text);

}  // namespace veqpod_webkit
