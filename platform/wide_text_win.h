// Texts at Windows calls: the module's UTF-16 strings as wchar_t.
#pragma once

#include <string>

#include "base/utf.h"

namespace XLoop::platform {

inline const wchar_t* wideChars(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

inline std::u16string wideFromUtf8(const std::string& text) {
    return toWide(text.c_str());
}

inline std::string utf8FromWide(const wchar_t* text) {
    return toUtf8(reinterpret_cast<const char16_t*>(text));
}

}  // namespace XLoop::platform
