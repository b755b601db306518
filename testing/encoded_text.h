// ASCII text spelled in the encodings that hide markup from a byte scan.
#pragma once

#include <string>

namespace xloop_test {

inline std::string utf16(const std::string& ascii, bool bigEndian = false) {
    std::string wide;
    for (char c : ascii) wide += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    return wide;
}

// EBCDIC code page 037, for lower-case letters, digits and markup only.
inline std::string ebcdic(const std::string& ascii) {
    const std::string marks = " <>/=\"?", marksInEbcdic = "\x40\x4C\x6E\x61\x7E\x7F\x6F";
    std::string out;
    for (char c : ascii) {
        if (c >= 'a' && c <= 'i') out += static_cast<char>(0x81 + (c - 'a'));
        else if (c >= 'j' && c <= 'r') out += static_cast<char>(0x91 + (c - 'j'));
        else if (c >= 's' && c <= 'z') out += static_cast<char>(0xA2 + (c - 's'));
        else if (c >= '0' && c <= '9') out += static_cast<char>(0xF0 + (c - '0'));
        else out += marksInEbcdic.at(marks.find(c));
    }
    return out;
}

}  // namespace xloop_test
