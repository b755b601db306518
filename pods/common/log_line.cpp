#include "pods/common/log_line.h"

#include <cstdio>

namespace veqpod {
namespace {

char namedEscape(unsigned char byte) {
    switch (byte) {
        case '\b': return 'b';
        case '\f': return 'f';
        case '\n': return 'n';
        case '\r': return 'r';
        case '\t': return 't';
        case '\v': return 'v';
        case '\\': return '\\';
        case '"': return '"';
        default: return 0;
    }
}

}  // namespace

std::string escaped(const std::string& text) {
    std::string written;
    written.reserve(text.size());
    for (unsigned char byte : text) {
        if (byte == 0) break;  // the end of the text as C reads it
        if (const char name = namedEscape(byte)) {
            written += '\\';
            written += name;
        } else if (byte < 0x20 || byte >= 0x7F) {
            char octal[5];
            std::snprintf(octal, sizeof octal, "\\%03o", byte);
            written += octal;
        } else {
            written += static_cast<char>(byte);
        }
    }
    return written;
}

void logEscaped(const char* what, const std::string& text) {
    std::fprintf(stderr, "VEQPod: %s %s\n", what, escaped(text).c_str());
}

}  // namespace veqpod
