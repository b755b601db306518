// Hands a URI to the user's default application for it.
#pragma once

#include <string>

#include "platform/step_result.h"

namespace XLoop::platform {

// Starts the opening and returns without waiting for the application. The
// URI is passed as one argument, never through a shell.
StepResult openUri(const std::string& uri);

}  // namespace XLoop::platform
