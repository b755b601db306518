// An exclusive lock between processes, on a file of its own.
#pragma once

#include <cstdint>
#include <string>

#include "platform/step_result.h"

namespace XLoop::platform {

// The step a lock held by someone else fails at, so that callers can wait.
inline constexpr char kLockBusyStep[] = "take lock";

// Held from a successful tryAcquire until the object goes. The lock file is
// created when missing and never removed: a removed lock file would let two
// processes each lock a file of that name.
class ExclusiveFileLock {
public:
    ExclusiveFileLock() = default;
    ExclusiveFileLock(const ExclusiveFileLock&) = delete;
    ExclusiveFileLock& operator=(const ExclusiveFileLock&) = delete;
    ~ExclusiveFileLock();

    // Takes the lock without waiting; a failure of kLockBusyStep when another
    // holder has it. The lock file stays open between tries.
    StepResult tryAcquire(const std::string& lockPath);

private:
    intptr_t handle = -1;  // a descriptor, or a HANDLE
    bool held = false;
};

}  // namespace XLoop::platform
