// Where diagnostic lines go when the host installed no sink of its own.
#pragma once

namespace XLoop::platform {

// Hands one whole line to the platform's debug channel: the debugger output
// on Windows, standard error elsewhere.
void writeDebugOutput(const char* line);

}  // namespace XLoop::platform
