// Texts that arrive from C callers as possibly null pointers.
#pragma once

#include <string>

namespace XLoop {

// A null text counts as the empty text.
inline std::string textOrEmpty(const char* text) {
    return text != nullptr ? std::string(text) : std::string();
}

}  // namespace XLoop
