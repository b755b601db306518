#include "platform/library_memory.h"

#include <windows.h>

namespace XLoop::platform {

// The library's runtime (Microsoft's) allocates from the process heap and
// frees into it; our own runtime's heap would be corrupted by its delete.
void* allocateForLibrary(size_t size) {
    return HeapAlloc(GetProcessHeap(), 0, size);
}

}  // namespace XLoop::platform
