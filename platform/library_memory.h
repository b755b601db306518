// Memory handed over to the browser library, which frees it with its own
// runtime's operator delete.
#pragma once

#include <cstddef>

namespace XLoop::platform {

// Null when the memory cannot be had.
void* allocateForLibrary(size_t size);

}  // namespace XLoop::platform
