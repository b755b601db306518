#include "platform/debug_output.h"

#include <cstdio>
#include <cstring>

namespace XLoop::platform {

// Standard error has no notion of separate messages, so a line that does not
// end in a newline gets one here to keep the next line apart.
void writeDebugOutput(const char* line) {
    std::fputs(line, stderr);
    size_t length = std::strlen(line);
    if (length == 0 || line[length - 1] != '\n') std::fputc('\n', stderr);
}

}  // namespace XLoop::platform
