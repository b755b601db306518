#include "platform/file_io.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

#include "platform/wide_text_win.h"

namespace XLoop::platform {
namespace {

constexpr wchar_t kNewFilePrefix[] = L"VEQ";
constexpr size_t kNewFilePrefixSize = sizeof kNewFilePrefix / sizeof kNewFilePrefix[0] - 1;

// New files are named the prefix, one to four hexadecimal digits and ".tmp",
// in either letter case (four digits now; earlier versions, through
// GetTempFileNameW, wrote fewer).
bool isNewFileName(const wchar_t* name) {
    if (_wcsnicmp(name, kNewFilePrefix, kNewFilePrefixSize) != 0) return false;
    const wchar_t* digits = name + kNewFilePrefixSize;
    size_t count = 0;
    while (count <= 4 && ((digits[count] >= L'0' && digits[count] <= L'9') ||
                          (digits[count] >= L'a' && digits[count] <= L'f') ||
                          (digits[count] >= L'A' && digits[count] <= L'F'))) {
        ++count;
    }
    return count >= 1 && count <= 4 && _wcsicmp(digits + count, L".tmp") == 0;
}

ULONGLONG ticksOf(const FILETIME& time) {
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

std::u16string folderOf(const std::u16string& path) {
    size_t separator = path.find_last_of(u"\\/");
    return separator == std::u16string::npos ? u"." : path.substr(0, separator);
}

bool writeAll(HANDLE file, const std::string& bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - written, 1u << 30));
        DWORD count = 0;
        if (!WriteFile(file, bytes.data() + written, chunk, &count, nullptr) || count == 0) return false;
        written += count;
    }
    return true;
}

// A new file of our own name (the prefix, four hexadecimal digits, ".tmp")
// in the folder, made exclusively so that two processes saving into one
// folder never share one. The name is built, not copied into a fixed buffer:
// a folder past MAX_PATH fails with the system's error.
HANDLE createNewFile(const std::u16string& folder, std::u16string* newPath) {
    static std::atomic<unsigned> sequence{GetTickCount()};
    const std::u16string stem = folder + u"\\" + reinterpret_cast<const char16_t*>(kNewFilePrefix);
    for (unsigned attempt = 0; attempt <= 0xFFFF; ++attempt) {
        const unsigned number = sequence.fetch_add(1) & 0xFFFF;
        std::u16string digits;
        for (int shift = 12; shift >= 0; shift -= 4) digits += u"0123456789ABCDEF"[(number >> shift) & 0xF];
        *newPath = stem + digits + u".tmp";
        HANDLE file = CreateFileW(wideChars(*newPath), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
        const DWORD error = GetLastError();
        if (file != INVALID_HANDLE_VALUE || (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)) {
            return file;
        }
    }
    SetLastError(ERROR_FILE_EXISTS);
    return INVALID_HANDLE_VALUE;
}

// Writes, flushes and closes the new file; the caller removes it on failure.
StepResult fillNewFile(HANDLE file, const std::string& bytes) {
    StepResult result = StepResult::success();
    if (!writeAll(file, bytes)) {
        result = StepResult::failure("write", GetLastError());
    } else if (!FlushFileBuffers(file)) {
        result = StepResult::failure("flush", GetLastError());
    }
    if (!CloseHandle(file) && result.ok) result = StepResult::failure("close", GetLastError());
    return result;
}

// ReplaceFileW keeps the old file's identity and refuses a missing one; the
// first save of a store moves the new file into place instead.
StepResult moveIntoPlace(const std::u16string& newPath, const std::u16string& path) {
    if (ReplaceFileW(wideChars(path), wideChars(newPath), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                     nullptr)) {
        return StepResult::success();
    }
    DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND) return StepResult::failure("replace", error);
    if (MoveFileExW(wideChars(newPath), wideChars(path), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return StepResult::success();
    }
    return StepResult::failure("move", GetLastError());
}

}  // namespace

StepResult createFolder(const std::string& path) {
    if (CreateDirectoryW(wideChars(wideFromUtf8(path)), nullptr)) return StepResult::success();
    DWORD error = GetLastError();
    return error == ERROR_ALREADY_EXISTS ? StepResult::success() : StepResult::failure("create folder", error);
}

PathKind pathKind(const std::string& path) {
    // No access asked, and backup semantics so that a folder opens too.
    HANDLE handle = CreateFileW(wideChars(wideFromUtf8(path)), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return PathKind::Missing;
    BY_HANDLE_FILE_INFORMATION info;
    const bool regular = GetFileType(handle) == FILE_TYPE_DISK && GetFileInformationByHandle(handle, &info) &&
                         (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    CloseHandle(handle);
    return regular ? PathKind::RegularFile : PathKind::Other;
}

namespace {

StepResult readOnce(const std::string& path, size_t maxBytes, std::string* bytes) {
    bytes->clear();
    // Readers only: a file being written or replaced meanwhile is refused
    // rather than read cut off.
    HANDLE file = CreateFileW(wideChars(wideFromUtf8(path)), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return missing ? StepResult::success() : StepResult::failure("open", error);
    }
    StepResult result = StepResult::success();
    LARGE_INTEGER size;
    if (GetFileType(file) != FILE_TYPE_DISK) {
        result = StepResult::failure(kCheckTypeStep, ERROR_BAD_FILE_TYPE);
    } else if (!GetFileSizeEx(file, &size)) {
        result = StepResult::failure("inspect", GetLastError());
    } else if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
        result = StepResult::failure(kCheckSizeStep, ERROR_FILE_TOO_LARGE);
    } else {
        bytes->reserve(static_cast<size_t>(size.QuadPart));  // read into place, not grown step by step
    }
    char buffer[16384];
    while (result.ok) {
        DWORD count = 0;
        if (!ReadFile(file, buffer, sizeof buffer, &count, nullptr)) {
            result = StepResult::failure("read", GetLastError());
        } else if (count == 0) {
            break;
        } else if (bytes->size() + count > maxBytes) {  // grew while read
            result = StepResult::failure(kCheckSizeStep, ERROR_FILE_TOO_LARGE);
        } else {
            bytes->append(buffer, count);
        }
    }
    CloseHandle(file);
    if (!result.ok) bytes->clear();
    return result;
}

}  // namespace

StepResult readRegularFile(const std::string& path, size_t maxBytes, std::string* bytes) {
    // Another process's save holds the file for a moment while it replaces
    // it; a short wait is cheaper than keeping the preferences in memory.
    constexpr int kAttempts = 4;
    constexpr DWORD kPauseMilliseconds = 10;
    StepResult result = readOnce(path, maxBytes, bytes);
    for (int attempt = 1; attempt < kAttempts && !result.ok &&
                          (result.code == ERROR_SHARING_VIOLATION || result.code == ERROR_LOCK_VIOLATION);
         ++attempt) {
        Sleep(kPauseMilliseconds);
        result = readOnce(path, maxBytes, bytes);
    }
    return result;
}

StepResult renameFile(const std::string& from, const std::string& to) {
    if (MoveFileExW(wideChars(wideFromUtf8(from)), wideChars(wideFromUtf8(to)),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return StepResult::success();
    }
    return StepResult::failure("rename", GetLastError());
}

StepResult writeFileAtomically(const std::string& path, const std::string& bytes) {
    const std::u16string widePath = wideFromUtf8(path);
    std::u16string newPath;
    HANDLE file = createNewFile(folderOf(widePath), &newPath);
    if (file == INVALID_HANDLE_VALUE) return StepResult::failure("create new file", GetLastError());
    StepResult result = fillNewFile(file, bytes);
    if (result.ok) result = moveIntoPlace(newPath, widePath);
    if (!result.ok) DeleteFileW(wideChars(newPath));
    return result;
}

size_t removeLeftoverNewFiles(const std::string& path, std::chrono::seconds minAge) {
    const std::u16string folder = folderOf(wideFromUtf8(path)) + u"\\";
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileExW(wideChars(folder + u"*.tmp"), FindExInfoBasic, &found, FindExSearchNameMatch,
                                     nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return 0;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const ULONGLONG latest = ticksOf(now) - static_cast<ULONGLONG>(minAge.count()) * 10000000u;  // 100 ns ticks
    size_t removed = 0;
    do {
        if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0 ||
            !isNewFileName(found.cFileName) || ticksOf(found.ftLastWriteTime) > latest) {
            continue;
        }
        // A file still open for writing refuses; it is not a leftover.
        if (DeleteFileW(wideChars(folder + reinterpret_cast<const char16_t*>(found.cFileName)))) ++removed;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return removed;
}

StepResult flushFolderOf(const std::string&) {
    return StepResult::success();
}

}  // namespace XLoop::platform
