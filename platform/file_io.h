// Reading and writing whole files, and making folders.
#pragma once

#include <string>

#include "platform/step_result.h"

namespace XLoop::platform {

// Creates one folder (not its parents); an existing folder counts as success.
StepResult createFolder(const std::string& path);

// Reads the whole file into *bytes. A missing file reads as no bytes.
StepResult readWholeFile(const std::string& path, std::string* bytes);

// Replaces the file's content with bytes, all or nothing: the bytes go to a
// new file with a unique name in the same folder, reach the disk, and then
// take the file's place in one step. On failure the old file is untouched and
// the new one removed; a process killed at any point leaves the old or the new
// content, never a mix.
StepResult writeFileAtomically(const std::string& path, const std::string& bytes);

}  // namespace XLoop::platform
