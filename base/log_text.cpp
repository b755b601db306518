#include "base/log_text.h"

#include <cstring>

#include "base/utf.h"

namespace XLoop {
namespace {

// Besides C0 and C1, the characters that break a line or reorder the text a
// viewer shows around them: U+2028 and U+2029, and the bidirectional
// controls U+061C, U+200E, U+200F, U+202A to U+202E and U+2066 to U+2069.
bool isControl(const unsigned char* character, size_t length) {
    if (length == 1) return character[0] < 0x20 || character[0] == 0x7F;
    if (length == 2) {
        return (character[0] == 0xC2 && character[1] < 0xA0) || (character[0] == 0xD8 && character[1] == 0x9C);
    }
    if (length != 3 || character[0] != 0xE2) return false;
    const unsigned int codePoint = (character[1] & 0x3Fu) << 6 | (character[2] & 0x3Fu);  // past U+2000
    return codePoint == 0x0E || codePoint == 0x0F || (codePoint >= 0x28 && codePoint <= 0x2E) ||
           (codePoint >= 0x66 && codePoint <= 0x69);
}

// The length a lead byte announces; 0 for a byte that cannot start a character.
size_t announcedLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

// Whether the text ends in the first bytes of a character that was cut off.
size_t cutOffTail(const unsigned char* text, size_t length) {
    for (size_t back = 1; back <= 3 && back <= length; ++back) {
        const unsigned char byte = text[length - back];
        if ((byte & 0xC0) == 0x80) continue;
        const size_t wanted = announcedLength(byte);
        return wanted > back ? back : 0;
    }
    return 0;
}

}  // namespace

size_t copyLogSafeText(const char* text, size_t length, char* out, size_t capacity) {
    static const char kHex[] = "0123456789ABCDEF";
    if (capacity == 0) return 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    const size_t end = length - cutOffTail(bytes, length);
    size_t written = 0;
    for (size_t at = 0; at < end;) {
        // The decoder reads up to a NUL; the text's own end is the limit here.
        unsigned char character[4] = {0, 0, 0, 0};
        std::memcpy(character, bytes + at, end - at < 4 ? end - at : 4);
        const Utf8Step step = nextUtf8Step(character);
        const bool escape = !step.valid || isControl(character, step.length);
        const size_t needed = escape ? 4 * step.length : step.length;
        if (written + needed >= capacity) break;
        for (size_t i = 0; i < step.length; ++i) {
            if (escape) {
                out[written++] = '\\';
                out[written++] = 'x';
                out[written++] = kHex[character[i] >> 4];
                out[written++] = kHex[character[i] & 0x0F];
            } else {
                out[written++] = static_cast<char>(character[i]);
            }
        }
        at += step.length;
    }
    out[written] = '\0';
    return written;
}

}  // namespace XLoop
