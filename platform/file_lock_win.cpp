#include "platform/file_lock.h"

#include <windows.h>

#include "platform/wide_text_win.h"

namespace XLoop::platform {

ExclusiveFileLock::~ExclusiveFileLock() {
    if (handle == -1) return;
    HANDLE file = reinterpret_cast<HANDLE>(handle);
    if (held) {
        OVERLAPPED whole = {};
        UnlockFileEx(file, 0, 1, 0, &whole);
    }
    CloseHandle(file);
}

StepResult ExclusiveFileLock::tryAcquire(const std::string& lockPath) {
    if (handle == -1) {
        HANDLE file = CreateFileW(wideChars(wideFromUtf8(lockPath)), GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return StepResult::failure("open lock file", GetLastError());
        handle = reinterpret_cast<intptr_t>(file);
    }
    // The first byte stands for the whole store.
    OVERLAPPED whole = {};
    if (!LockFileEx(reinterpret_cast<HANDLE>(handle), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                    &whole)) {
        DWORD error = GetLastError();
        return StepResult::failure(error == ERROR_LOCK_VIOLATION ? kLockBusyStep : "lock", error);
    }
    held = true;
    return StepResult::success();
}

}  // namespace XLoop::platform
