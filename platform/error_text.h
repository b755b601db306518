// The system's own words for an error number a platform service reported.
#pragma once

#include <string>

namespace XLoop::platform {

// The system's message for code (an errno value, or a Windows error number on
// Windows), one line without a final full stop; empty when the system has
// none.
std::string systemErrorText(int code);

// The HTTP library's words for one of the WinINet numbers that exchangeHttp
// reports: WinINet's own message on Windows, libcurl's for the failure the
// number stands for elsewhere; empty when it has none.
std::string httpErrorText(int code);

}  // namespace XLoop::platform
