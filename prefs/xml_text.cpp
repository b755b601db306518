#include "prefs/xml_text.h"

#include <array>
#include <cstdint>

#include "prefs/older_xml_names.h"

namespace XLoop {
namespace {

// Decodes the sequence at text[*offset] and moves past it; false for
// anything that is not well-formed UTF-8 (overlong forms, surrogates, values
// above U+10FFFF, cut-off sequences).
bool nextCodePoint(const std::string& text, size_t* offset, char32_t* codePoint) {
    const auto byteAt = [&text](size_t index) { return static_cast<unsigned char>(text[index]); };
    unsigned lead = byteAt((*offset)++);
    if (lead < 0x80) {
        *codePoint = lead;
        return true;
    }
    int continuationBytes;
    unsigned low = 0x80, high = 0xBF;  // allowed range of the next byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        continuationBytes = 1;
        *codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        continuationBytes = 2;
        *codePoint = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        continuationBytes = 3;
        *codePoint = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return false;
    }
    for (int i = 0; i < continuationBytes; ++i, low = 0x80, high = 0xBF) {
        if (*offset >= text.size()) return false;
        unsigned next = byteAt((*offset)++);
        if (next < low || next > high) return false;
        *codePoint = (*codePoint << 6) | (next & 0x3F);
    }
    return true;
}

// Whether text is well-formed UTF-8 and accepts(code point, first) holds for
// each code point. ASCII bytes go to asciiAccepts(byte, first) undecoded:
// stores of many entries check every key and value at each save.
template <class AsciiAccepts, class Accepts>
bool everyCodePoint(const std::string& text, AsciiAccepts asciiAccepts, Accepts accepts) {
    size_t offset = 0;
    char32_t codePoint;
    while (offset < text.size()) {
        const bool first = offset == 0;
        const auto byte = static_cast<unsigned char>(text[offset]);
        if (byte < 0x80) {
            if (!asciiAccepts(byte, first)) return false;
            ++offset;
            continue;
        }
        if (!nextCodePoint(text, &offset, &codePoint) || !accepts(codePoint, first)) return false;
    }
    return true;
}

bool isXmlChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

bool isNameStartChar(char32_t c) {
    return (c >= 'A' && c <= 'Z') || c == '_' || (c >= 'a' && c <= 'z') || (c >= 0xC0 && c <= 0xD6) ||
           (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) || (c >= 0x370 && c <= 0x37D) ||
           (c >= 0x37F && c <= 0x1FFF) || (c >= 0x200C && c <= 0x200D) || (c >= 0x2070 && c <= 0x218F) ||
           (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) || (c >= 0xF900 && c <= 0xFDCF) ||
           (c >= 0xFDF0 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0xEFFFF);
}

bool isNameChar(char32_t c) {
    return isNameStartChar(c) || c == '-' || c == '.' || (c >= '0' && c <= '9') || c == 0xB7 ||
           (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

bool isAttributeNameChar(char32_t c, bool first) {
    return first ? isNameStartChar(c) && isOlderXmlNameStartChar(c) : isNameChar(c) && isOlderXmlNameChar(c);
}

// The same answers for ASCII, looked up: bit 0 for a first character, bit 1
// for a later one.
const std::array<uint8_t, 128>& asciiAttributeNameChars() {
    static const std::array<uint8_t, 128> table = [] {
        std::array<uint8_t, 128> chars{};
        for (char32_t c = 0; c < 128; ++c) {
            chars[c] = (isAttributeNameChar(c, true) ? 1 : 0) | (isAttributeNameChar(c, false) ? 2 : 0);
        }
        return chars;
    }();
    return table;
}

}  // namespace

bool isXmlText(const std::string& text) {
    // Printable ASCII, the bulk of any value, is skipped in a tight loop.
    size_t plain = 0;
    while (plain < text.size() && static_cast<unsigned char>(text[plain]) - 0x20u < 0x60u) ++plain;
    if (plain == text.size()) return true;
    return everyCodePoint(
        text, [](unsigned char byte, bool) { return byte >= 0x20 || byte == 0x9 || byte == 0xA || byte == 0xD; },
        [](char32_t c, bool) { return isXmlChar(c); });
}

bool isPlainAttributeName(const std::string& name) {
    if (name.empty() || name == "xmlns") return false;
    const std::array<uint8_t, 128>& ascii = asciiAttributeNameChars();
    return everyCodePoint(
        name, [&ascii](unsigned char byte, bool first) { return (ascii[byte] & (first ? 1 : 2)) != 0; },
        isAttributeNameChar);
}

}  // namespace XLoop
