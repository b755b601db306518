#include "platform/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace XLoop::platform {

ExclusiveFileLock::~ExclusiveFileLock() {
    // Closing the descriptor releases the lock.
    if (handle >= 0) close(static_cast<int>(handle));
}

StepResult ExclusiveFileLock::tryAcquire(const std::string& lockPath) {
    if (handle < 0) {
        int descriptor = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (descriptor < 0) return StepResult::failure("open lock file", errno);
        handle = descriptor;
    }
    while (flock(static_cast<int>(handle), LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        return StepResult::failure(errno == EWOULDBLOCK ? kLockBusyStep : "lock", errno);
    }
    held = true;
    return StepResult::success();
}

}  // namespace XLoop::platform
