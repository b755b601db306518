#include "runtime/text_copies.h"

#include <cstdlib>
#include <cstring>

#include "platform/library_memory.h"

namespace XLoop {

char* copyFreedWithFree(const std::string& text) {
    auto* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (copy != nullptr) std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

char* copyFreedByTheLibrary(std::string& text) {
    auto* copy = static_cast<char*>(platform::allocateForLibrary(text.size() + 1));
    if (copy != nullptr) std::memcpy(copy, text.c_str(), text.size() + 1);
    std::string().swap(text);
    return copy;
}

}  // namespace XLoop
