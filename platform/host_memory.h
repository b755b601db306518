// Memory the host frees: the configuration record and its texts. On Windows
// a host built with Microsoft's toolchain frees it with its own runtime's
// free, so it must come from the heap that runtime uses.
#pragma once

#include <cstddef>

namespace XLoop::platform {

// Null when the memory cannot be had.
void* allocateForHost(size_t size);

// Releases memory from allocateForHost; null is fine.
void releaseForHost(void* memory);

}  // namespace XLoop::platform
