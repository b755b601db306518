#include "platform/host_memory.h"

#include <cstdlib>

namespace XLoop::platform {

// Every host here frees with the one C library's free.
void* allocateForHost(size_t size) {
    return std::malloc(size);
}

void releaseForHost(void* memory) {
    std::free(memory);
}

}  // namespace XLoop::platform
