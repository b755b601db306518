#include "platform/library_memory.h"

#include <new>

namespace XLoop::platform {

// The library is built with the same runtime as the module here.
void* allocateForLibrary(size_t size) {
    return ::operator new(size, std::nothrow);
}

}  // namespace XLoop::platform
