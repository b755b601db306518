#include "config/text_encoding.h"

#include <windows.h>

namespace XLoop {

std::string toUtf8(const char16_t* text) {
    if (text == nullptr) return {};
    auto wide = reinterpret_cast<const wchar_t*>(text);
    int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size < 1) return {};
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, &utf8[0], size, nullptr, nullptr);
    utf8.resize(static_cast<size_t>(size) - 1);
    return utf8;
}

std::u16string toWide(const char* text) {
    if (text == nullptr) return {};
    int size = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (size < 1) return {};
    std::u16string wide(static_cast<size_t>(size), u'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, reinterpret_cast<wchar_t*>(&wide[0]), size);
    wide.resize(static_cast<size_t>(size) - 1);
    return wide;
}

}  // namespace XLoop
