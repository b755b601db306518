#include "page/script_call.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "base/utf.h"

namespace XLoop {

namespace {

constexpr bool isUnreserved(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
           byte == '-' || byte == '.' || byte == '_' || byte == '~';
}

// How many bytes an ASCII byte takes escaped: 1 as it is, 3 as %XX.
constexpr std::array<uint8_t, 128> kEscapedAsciiWidth = [] {
    std::array<uint8_t, 128> width{};
    for (int byte = 0; byte < 128; ++byte) width[byte] = isUnreserved(static_cast<unsigned char>(byte)) ? 1 : 3;
    return width;
}();

// "%XX" for every byte.
constexpr std::array<std::array<char, 3>, 256> kPercentEscapes = [] {
    constexpr char kHex[] = "0123456789ABCDEF";
    std::array<std::array<char, 3>, 256> escapes{};
    for (int byte = 0; byte < 256; ++byte) escapes[byte] = {'%', kHex[byte >> 4], kHex[byte & 0x0F]};
    return escapes;
}();

// Hands every sequence of the text, up to its first NUL, to take as the
// bytes to escape: ASCII bytes one by one, without decoding; longer
// sequences whole, invalid ones as U+FFFD. The text is walked in place.
template <class Take>
void forEachValidSequence(const std::string& text, Take take) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.c_str());
    const auto* end = p + std::strlen(text.c_str());
    while (p < end) {
        if (*p < 0x80) {
            take(p, 1);
            ++p;
            continue;
        }
        const Utf8Step step = nextUtf8Step(p);
        if (step.valid) {
            take(p, step.length);
        } else {
            take(reinterpret_cast<const unsigned char*>(kReplacementUtf8), sizeof kReplacementUtf8 - 1);
        }
        p += step.length;
    }
}

// Two passes over the text: one to size the result exactly, one to write it
// through a pointer, so a payload of any size costs one allocation of the
// size it needs and no per-byte growth checks. What goes before and after it
// is written into the same allocation.
std::string urlEscapeBetween(std::string_view before, const std::string& text, std::string_view after) {
    size_t length = 0;
    forEachValidSequence(text, [&length](const unsigned char* bytes, size_t count) {
        length += count == 1 ? kEscapedAsciiWidth[bytes[0]] : 3 * count;
    });
    std::string escaped(before.size() + length + after.size(), '\0');
    char* out = escaped.data();
    out = std::copy(before.begin(), before.end(), out);  // an empty view may hold no pointer at all
    forEachValidSequence(text, [&out](const unsigned char* bytes, size_t count) {
        if (count == 1 && kEscapedAsciiWidth[bytes[0]] == 1) {
            *out++ = static_cast<char>(bytes[0]);
            return;
        }
        for (size_t i = 0; i < count; ++i) {
            std::memcpy(out, kPercentEscapes[bytes[i]].data(), 3);
            out += 3;
        }
    });
    std::copy(after.begin(), after.end(), out);
    return escaped;
}

}  // namespace

std::string urlEscape(const std::string& text) {
    return urlEscapeBetween({}, text, {});
}

// The payload is escaped straight into the call: the largest text of a room
// load is written once.
std::string scriptCallEscaping(const char* function, const std::string& payload) {
    return urlEscapeBetween(std::string(function) + "(\"", payload, "\");");
}

std::string scriptCallWithEscapedPayload(const char* function, const std::string& escaped) {
    std::string call;
    call.reserve(std::char_traits<char>::length(function) + escaped.size() + 4);
    call.append(function).append("(\"").append(escaped).append("\");");
    return call;
}

}  // namespace XLoop
