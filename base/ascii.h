// ASCII letter case and classes, whatever C locale the host process set:
// <cctype> follows it, and an 8-bit code page changes bytes above 0x7F.
#pragma once

#include <string>
#include <string_view>

namespace XLoop {

inline bool isAsciiLetter(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
}

inline bool isAsciiDigit(unsigned char byte) {
    return byte >= '0' && byte <= '9';
}

inline char lowerAscii(char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte - 'A' + 'a') : byte;
}

// Only A to Z change.
inline std::string lowerAscii(std::string text) {
    for (char& byte : text) byte = lowerAscii(byte);
    return text;
}

// Whether text begins with lowerPrefix, letter case aside.
inline bool startsWithIgnoringCase(std::string_view text, std::string_view lowerPrefix) {
    if (text.size() < lowerPrefix.size()) return false;
    for (size_t i = 0; i < lowerPrefix.size(); ++i) {
        if (lowerAscii(text[i]) != lowerPrefix[i]) return false;
    }
    return true;
}

}  // namespace XLoop
