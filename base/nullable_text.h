// Texts that arrive from C callers as possibly null pointers.
#pragma once

#include <string>
#include <string_view>

namespace XLoop {

// A null text counts as the empty text.
inline std::string textOrEmpty(const char* text) {
    return text != nullptr ? std::string(text) : std::string();
}

// The same, read where it lies: a text of megabytes is not copied.
inline std::string_view viewOrEmpty(const char* text) {
    return text != nullptr ? std::string_view(text) : std::string_view();
}

}  // namespace XLoop
