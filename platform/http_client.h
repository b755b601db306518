// The one HTTP exchange the module makes: a request whose status matters and
// whose body is never read.
#pragma once

#include <string>

namespace XLoop::platform {

// True for URLs with the file scheme.
bool isFileURL(const std::string& url);

// Sends verb ("HEAD" or "GET") for url with the agent "XLoopRoom", a 60 s
// connect time-out and no redirects followed, and stores the status code.
// Secure when the scheme is https. False, after logging which step failed and
// the platform's error code, when no status arrived.
bool requestHttpStatus(const std::string& url, const char* verb, int* status);

}  // namespace XLoop::platform
