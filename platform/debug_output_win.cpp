#include "platform/debug_output.h"

#include <windows.h>

namespace XLoop::platform {

void writeDebugOutput(const char* line) {
    OutputDebugStringA(line);
}

}  // namespace XLoop::platform
