// The system's own words for an error number a platform service reported.
#pragma once

#include <string>

namespace XLoop::platform {

// The system's message for code (an errno value, or a Windows error number on
// Windows), one line without a final full stop; empty when the system has
// none.
std::string systemErrorText(int code);

}  // namespace XLoop::platform
