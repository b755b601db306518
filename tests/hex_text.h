// A text's bytes in lower-case hex, so the script checks can pass any bytes
// through a line-based pipe unchanged.
#pragma once

#include <string>

namespace xloop_test {

inline std::string hex(const std::string& bytes) {
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    for (unsigned char byte : bytes) {
        out.push_back(kHex[byte >> 4]);
        out.push_back(kHex[byte & 0x0F]);
    }
    return out;
}

}  // namespace xloop_test
