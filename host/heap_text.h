// Texts the module keeps in C form and frees itself with free().
#pragma once

#include <cstdlib>
#include <cstring>
#include <string>

namespace XLoop {

inline char* duplicateHeapText(const std::string& text) {
    auto* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (copy != nullptr) std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

}  // namespace XLoop
