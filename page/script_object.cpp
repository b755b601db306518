#include "page/script_object.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "base/utf.h"

namespace XLoop {
namespace {

bool isBlank(char byte) {
    return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\r';
}

void skipBlanks(std::string_view text, size_t& position) {
    while (position < text.size() && isBlank(text[position])) ++position;
}

// Steps over the expected character, after any blanks.
bool take(std::string_view text, size_t& position, char expected) {
    skipBlanks(text, position);
    if (position >= text.size() || text[position] != expected) return false;
    ++position;
    return true;
}

int hexValue(char digit) {
    if (digit >= '0' && digit <= '9') return digit - '0';
    if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
    if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
    return -1;
}

// The code unit of the four hex digits at position, if they are there.
std::optional<char16_t> hexUnitAt(std::string_view text, size_t position) {
    if (text.size() < position + 4) return std::nullopt;
    unsigned unit = 0;
    for (size_t i = position; i < position + 4; ++i) {
        int digit = hexValue(text[i]);
        if (digit < 0) return std::nullopt;
        unit = unit * 16 + static_cast<unsigned>(digit);
    }
    return static_cast<char16_t>(unit);
}

// Reads the run of \uXXXX escapes that starts with the digits at position
// (just after "\u"), so that surrogate pairs written as two escapes join.
bool readUnicodeEscapes(std::string_view text, size_t& position, std::string& collected) {
    std::u16string units;
    std::optional<char16_t> unit = hexUnitAt(text, position);
    while (unit) {
        if (*unit == 0) return false;
        units.push_back(*unit);
        position += 4;
        unit = text.compare(position, 2, "\\u") == 0 ? hexUnitAt(text, position + 2) : std::nullopt;
        if (unit) position += 2;
    }
    if (units.empty()) return false;
    collected += toUtf8(units.c_str());
    return true;
}

// How many bytes a byte takes inside a quoted JSON text: 1 written as it is,
// 2 for the short escapes, 6 for other control bytes (\u00XX).
constexpr std::array<uint8_t, 256> kJsonWidth = [] {
    std::array<uint8_t, 256> width{};
    for (int byte = 0; byte < 256; ++byte) width[byte] = byte < 0x20 ? 6 : 1;
    for (unsigned char byte : {'"', '\\', '\b', '\f', '\n', '\r', '\t'}) width[byte] = 2;
    return width;
}();

// The letter after the backslash for the bytes of width 2.
constexpr std::array<char, 256> kShortEscape = [] {
    std::array<char, 256> letter{};
    letter['"'] = '"';
    letter['\\'] = '\\';
    letter['\b'] = 'b';
    letter['\f'] = 'f';
    letter['\n'] = 'n';
    letter['\r'] = 'r';
    letter['\t'] = 't';
    return letter;
}();

// Whether any of the eight bytes in word is a control byte, a quote or a
// backslash: plain text is measured and copied eight bytes at a time.
bool wordNeedsEscapes(const char* bytes) {
    constexpr uint64_t kOnes = 0x0101010101010101u;
    constexpr uint64_t kHighBits = 0x8080808080808080u;
    uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    const auto hasByteBelow = [](uint64_t x, uint64_t n) { return (x - kOnes * n) & ~x & kHighBits; };
    return (hasByteBelow(word, 0x20) | hasByteBelow(word ^ (kOnes * '"'), 1) |
            hasByteBelow(word ^ (kOnes * '\\'), 1)) != 0;
}

}  // namespace

size_t quotedJsonLength(std::string_view text) {
    size_t length = 2 + text.size();
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        if (!wordNeedsEscapes(text.data() + i)) continue;
        for (size_t k = i; k < i + 8; ++k) length += kJsonWidth[static_cast<unsigned char>(text[k])] - 1;
    }
    for (; i < text.size(); ++i) length += kJsonWidth[static_cast<unsigned char>(text[i])] - 1;
    return length;
}

namespace {

char* writeQuotedByte(unsigned char byte, char* p) {
    static const char kHex[] = "0123456789abcdef";
    switch (kJsonWidth[byte]) {
        case 1: *p++ = static_cast<char>(byte); break;
        case 2:
            *p++ = '\\';
            *p++ = kShortEscape[byte];
            break;
        default:
            *p++ = '\\';
            *p++ = 'u';
            *p++ = '0';
            *p++ = '0';
            *p++ = kHex[byte >> 4];
            *p++ = kHex[byte & 0x0F];
    }
    return p;
}

}  // namespace

// Sized first and written through a pointer: a long text costs one pass to
// measure and one to write, never a growth check per byte.
void quoteJsonString(std::string_view text, std::string& out) {
    quoteJsonString(text, quotedJsonLength(text), out);
}

void quoteJsonString(std::string_view text, size_t quotedLength, std::string& out) {
    const size_t start = out.size();
    out.resize(start + quotedLength);
    char* p = out.data() + start;
    *p++ = '"';
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        if (!wordNeedsEscapes(text.data() + i)) {
            std::memcpy(p, text.data() + i, 8);
            p += 8;
            continue;
        }
        for (size_t k = i; k < i + 8; ++k) p = writeQuotedByte(static_cast<unsigned char>(text[k]), p);
    }
    for (; i < text.size(); ++i) p = writeQuotedByte(static_cast<unsigned char>(text[i]), p);
    *p = '"';
}

std::string serializeJsonObject(const ScriptObject& object) {
    std::string text = "{";
    for (const auto& [key, value] : object) {
        if (text.size() > 1) text += ", ";
        quoteJsonString(key, text);
        text.push_back(':');
        quoteJsonString(value, text);
    }
    text.push_back('}');
    return text;
}

ScriptObject parseActionArguments(std::string_view text) {
    ScriptObject pairs;
    size_t position = 0;
    if (!take(text, position, '{')) return pairs;
    if (take(text, position, '}')) return pairs;
    do {
        if (!take(text, position, '"')) return pairs;
        std::optional<std::string> key = readQuotedText(text, position);
        if (!key || !take(text, position, ':') || !take(text, position, '"')) return pairs;
        std::optional<std::string> value = readQuotedText(text, position);
        if (!value) return pairs;
        pairs.emplace(std::move(*key), std::move(*value));
    } while (take(text, position, ','));
    return pairs;
}

namespace {

// Where the run of bytes that stand for themselves, starting at position,
// ends: at a quote, a backslash, a control byte or the end of the text.
size_t plainRunEnd(std::string_view text, size_t position) {
    while (position + 8 <= text.size() && !wordNeedsEscapes(text.data() + position)) position += 8;
    while (position < text.size()) {
        const auto byte = static_cast<unsigned char>(text[position]);
        if (byte == '"' || byte == '\\' || byte < 0x20) break;
        ++position;
    }
    return position;
}

}  // namespace

// Plain runs are copied whole: a long value costs a scan and a copy, never a
// growth check per byte.
std::optional<std::string> readQuotedText(std::string_view text, size_t& position) {
    std::string collected;
    while (position < text.size()) {
        const size_t runEnd = plainRunEnd(text, position);
        collected.append(text.data() + position, runEnd - position);
        position = runEnd;
        if (position >= text.size()) break;
        const auto byte = static_cast<unsigned char>(text[position++]);
        if (byte == '"') return collected;
        if (byte < 0x20) return std::nullopt;
        if (position >= text.size()) return std::nullopt;
        switch (text[position++]) {
            case '"': collected.push_back('"'); break;
            case '\\': collected.push_back('\\'); break;
            case '/': collected.push_back('/'); break;
            case 'b': collected.push_back('\b'); break;
            case 'f': collected.push_back('\f'); break;
            case 'n': collected.push_back('\n'); break;
            case 'r': collected.push_back('\r'); break;
            case 't': collected.push_back('\t'); break;
            case 'u':
                if (!readUnicodeEscapes(text, position, collected)) return std::nullopt;
                break;
            default: return std::nullopt;
        }
    }
    return std::nullopt;
}

}  // namespace XLoop
