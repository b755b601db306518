#include "page/script_object.h"

#include "base/utf.h"

namespace XLoop {
namespace {

bool isBlank(char byte) {
    return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\r';
}

void skipBlanks(const std::string& text, size_t& position) {
    while (position < text.size() && isBlank(text[position])) ++position;
}

// Steps over the expected character, after any blanks.
bool take(const std::string& text, size_t& position, char expected) {
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
std::optional<char16_t> hexUnitAt(const std::string& text, size_t position) {
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
bool readUnicodeEscapes(const std::string& text, size_t& position, std::string& collected) {
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

}  // namespace

size_t quotedJsonLength(std::string_view text) {
    size_t length = 2;
    for (unsigned char byte : text) {
        if (byte == '"' || byte == '\\' || byte == '\b' || byte == '\f' || byte == '\n' || byte == '\r' ||
            byte == '\t') {
            length += 2;
        } else {
            length += byte < 0x20 ? 6 : 1;
        }
    }
    return length;
}

void quoteJsonString(std::string_view text, std::string& out) {
    static const char kHex[] = "0123456789abcdef";
    out.push_back('"');
    for (unsigned char byte : text) {
        switch (byte) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\b': out += "\\b"; break;
            case '\f': out += "\\f"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (byte < 0x20) {
                    out += "\\u00";
                    out.push_back(kHex[byte >> 4]);
                    out.push_back(kHex[byte & 0x0F]);
                } else {
                    out.push_back(static_cast<char>(byte));
                }
        }
    }
    out.push_back('"');
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

ScriptObject parseActionArguments(const std::string& text) {
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

std::optional<std::string> readQuotedText(const std::string& text, size_t& position) {
    std::string collected;
    while (position < text.size()) {
        const auto byte = static_cast<unsigned char>(text[position++]);
        if (byte == '"') return collected;
        if (byte < 0x20) return std::nullopt;
        if (byte != '\\') {
            collected.push_back(static_cast<char>(byte));
            continue;
        }
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
