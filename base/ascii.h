// ASCII letter case and classes, whatever C locale the host process set:
// <cctype> follows it, and an 8-bit code page changes bytes above 0x7F.
#pragma once

#include <string>

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

}  // namespace XLoop
