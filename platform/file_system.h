// Path work that follows the operating system's rules.
#pragma once

#include <string>

namespace XLoop::platform {

extern const char kPathSeparator;

// Joins a name to a folder the way the platform does (one separator between
// them); false when the platform refuses, e.g. past its path length limit.
bool joinPath(const std::string& folder, const std::string& name, std::string* joined);

// The absolute form of a path, worked out from the text and the current
// folder without touching the disk; empty on failure.
std::string absolutePath(const std::string& path);

// True for a file or a folder.
bool pathExists(const std::string& path);

// The path the system resolves an existing folder to, with links followed
// (and on Windows short names made long, in the "\\?\" form): one text for
// every spelling of one folder. Empty when the folder cannot be opened.
std::string resolvedFolderPath(const std::string& folder);

// The file URL of an absolute path; empty on failure.
std::string fileURLFromAbsolutePath(const std::string& path);

// The path a file URL names; empty when the URL is not a local file URL.
std::string pathFromFileURL(const std::string& url);

}  // namespace XLoop::platform
