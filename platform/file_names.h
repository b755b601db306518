// How the platform's file system compares names.
#pragma once

#include <string>

namespace XLoop::platform {

// Below, equal to or above zero as a sorts before, names the same entry as or
// sorts after b: ignoring letter case on Windows, byte by byte elsewhere.
int compareFileNames(const std::string& a, const std::string& b);

// Whether the byte separates folders in a path: "/" everywhere, "\" too on
// Windows.
bool isPathSeparator(char byte);

}  // namespace XLoop::platform
