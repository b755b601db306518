// Reading and writing whole files, and making folders.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

#include "platform/step_result.h"

namespace XLoop::platform {

// Creates one folder (not its parents); an existing folder counts as success.
StepResult createFolder(const std::string& path);

// What a path names, links followed. Other is something that exists and is
// no regular file (a folder, a pipe, a device); a path that cannot be looked
// at counts as Missing, and the next step on it reports why.
enum class PathKind { Missing, RegularFile, Other };
PathKind pathKind(const std::string& path);

// The steps a refused read fails at, so that callers can tell the two apart.
inline constexpr char kCheckTypeStep[] = "check type";
inline constexpr char kCheckSizeStep[] = "check size";

// Reads a whole regular file of at most maxBytes into *bytes, without ever
// waiting on a writer: anything else at the path (a pipe, a device, a folder)
// and a larger file are refused unread, as failures of kCheckTypeStep and
// kCheckSizeStep. A missing file reads as no bytes. On Windows a file another
// process holds (a sharing or lock violation) is tried again for a few
// milliseconds before the read fails.
StepResult readRegularFile(const std::string& path, size_t maxBytes, std::string* bytes);

// Gives a file a new name in the same folder, replacing any file of that
// name. The folder is not flushed: see flushFolderOf.
StepResult renameFile(const std::string& from, const std::string& to);

// Replaces the file's content with bytes, all or nothing: the bytes go to a
// new file with a unique name in the same folder, reach the disk, and then
// take the file's place in one step. On failure the old file is untouched and
// the new one removed; a process killed at any point leaves the old or the new
// content, never a mix. The file keeps its permissions; a first file is
// readable and writable by its owner only on Linux, and takes the folder's
// access rules on Windows. Success means the new content is in place; that
// the folder's entry list reaches the disk too is flushFolderOf's work.
StepResult writeFileAtomically(const std::string& path, const std::string& bytes);

// Flushes the list of the folder holding path to the disk, so that renames
// in it survive a power cut. Windows has no such call (its moves are made
// write-through where they can be): there it does nothing.
StepResult flushFolderOf(const std::string& path);

// Removes the new files writeFileAtomically left beside path when a process
// died mid-write: only names of its own making, in path's folder, and only
// ones unchanged for at least minAge, so that a write under way in another
// process keeps its file. Returns how many it removed.
size_t removeLeftoverNewFiles(const std::string& path, std::chrono::seconds minAge);

}  // namespace XLoop::platform
