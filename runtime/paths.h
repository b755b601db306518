// Paths and file URLs of the configuration and preference files.
#pragma once

#include <string>

namespace XLoop {

// The name joined to the folder with one separator. When the platform cannot
// join them (a Windows path past 260 characters), falls back to plain
// joining; always gives a path. A null argument counts as an empty text.
std::string appendPath(const char* folder, const char* name);

// The file URL of an existing file or folder, relative paths taken from the
// current folder; the empty text when nothing is there.
std::string fileURLFromPath(const char* path);

}  // namespace XLoop
