#include "page/script_call.h"

#include "base/utf.h"

namespace XLoop {

namespace {

bool isUnreserved(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
           byte == '-' || byte == '.' || byte == '_' || byte == '~';
}

// Hands every byte of the text, invalid sequences replaced by U+FFFD, to
// take; the text is walked in place, without a converted copy.
template <class Take>
void forEachValidByte(const std::string& text, Take take) {
    for (auto p = reinterpret_cast<const unsigned char*>(text.c_str()); *p != 0;) {
        const Utf8Step step = nextUtf8Step(p);
        const auto* bytes = step.valid ? p : reinterpret_cast<const unsigned char*>(kReplacementUtf8);
        const size_t length = step.valid ? step.length : sizeof kReplacementUtf8 - 1;
        for (size_t i = 0; i < length; ++i) take(bytes[i]);
        p += step.length;
    }
}

}  // namespace

// Two passes over the text: one to size the result exactly, one to write it,
// so a payload of any size costs one allocation of the size it needs.
std::string urlEscape(const std::string& text) {
    size_t length = 0;
    forEachValidByte(text, [&length](unsigned char byte) { length += isUnreserved(byte) ? 1 : 3; });
    std::string escaped;
    escaped.reserve(length);
    static const char kHex[] = "0123456789ABCDEF";
    forEachValidByte(text, [&escaped](unsigned char byte) {
        if (isUnreserved(byte)) {
            escaped.push_back(static_cast<char>(byte));
        } else {
            escaped.push_back('%');
            escaped.push_back(kHex[byte >> 4]);
            escaped.push_back(kHex[byte & 0x0F]);
        }
    });
    return escaped;
}

std::string scriptCallWithEscapedPayload(const char* function, const std::string& escaped) {
    std::string call;
    call.reserve(std::char_traits<char>::length(function) + escaped.size() + 4);
    call.append(function).append("(\"").append(escaped).append("\");");
    return call;
}

}  // namespace XLoop
