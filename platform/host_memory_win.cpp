#include "platform/host_memory.h"

#include <windows.h>

namespace XLoop::platform {

// Microsoft's runtime (ucrtbase) allocates from the process heap and its free
// releases into it; our own runtime's malloc (msvcrt) may keep another heap.
void* allocateForHost(size_t size) {
    return HeapAlloc(GetProcessHeap(), 0, size);
}

void releaseForHost(void* memory) {
    if (memory != nullptr) HeapFree(GetProcessHeap(), 0, memory);
}

}  // namespace XLoop::platform
