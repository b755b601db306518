#include "base/xml_markup_encoding.h"

#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "base/ascii.h"
#include "base/xml_code_units.h"

namespace XLoop {
namespace {

bool begins(const unsigned char* bytes, size_t size, std::string_view signature) {
    return size >= signature.size() && std::memcmp(bytes, signature.data(), signature.size()) == 0;
}

// No ASCII-compatible encoding has a zero byte, and markup starts with
// ASCII, so where the first four bytes are zero tells the width and byte
// order of a document without byte order mark. Any other place of zero
// bytes is a layout the libraries may each read their own way.
std::optional<UnitLayout> layoutOf(const unsigned char* bytes, size_t size) {
    struct Mark {
        std::string_view bytes;
        UnitLayout layout;
    };
    using namespace std::string_view_literals;
    static const Mark kMarks[] = {
        {"\x00\x00\xFE\xFF"sv, {4, true, 4}}, {"\xFF\xFE\x00\x00"sv, {4, false, 4}}, {"\xFE\xFF"sv, {2, true, 2}},
        {"\xFF\xFE"sv, {2, false, 2}},        {"\xEF\xBB\xBF"sv, {1, false, 3}},
    };
    for (const Mark& mark : kMarks) {
        if (begins(bytes, size, mark.bytes)) return mark.layout;
    }
    if (size < 4) return UnitLayout{};
    if (begins(bytes, size, "\x4C\x6F\xA7\x94"sv)) return std::nullopt;  // "<?xm" in EBCDIC
    unsigned zeros = 0;
    for (size_t i = 0; i < 4; ++i) zeros = zeros << 1 | (bytes[i] == 0 ? 1u : 0u);
    switch (zeros) {
    case 0b0000: return UnitLayout{};
    case 0b1110: return UnitLayout{4, true, 0};
    case 0b0111: return UnitLayout{4, false, 0};
    case 0b1010: return UnitLayout{2, true, 0};
    case 0b0101: return UnitLayout{2, false, 0};
    default: return std::nullopt;
    }
}

bool isXmlSpace(char32_t c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

template <class Units>
size_t pastSpace(const Units& units, size_t index) {
    while (index < units.count() && isXmlSpace(units.at(index))) ++index;
    return index;
}

struct Declared {
    std::string name;  // lower-cased; empty when not plain ASCII or too long to be a name we know
    size_t end;        // the unit just past its closing quote
};

// The encoding an XML declaration names, read as the libraries read it: the
// first pseudo-attribute called "encoding", its value in either quote.
template <class Units>
std::optional<Declared> declaredEncoding(const Units& units) {
    if (!startsWith(units, 0, "<?xml") || units.count() <= 5 || !isXmlSpace(units.at(5))) return std::nullopt;
    for (size_t index = 5;;) {
        const size_t nameStart = index = pastSpace(units, index);
        while (index < units.count()) {
            const char32_t c = units.at(index);
            if (isXmlSpace(c) || c == '=' || c == '?' || c == '>') break;
            ++index;
        }
        const bool isEncoding = index - nameStart == 8 && startsWith(units, nameStart, "encoding");
        index = pastSpace(units, index);
        if (index >= units.count() || units.at(index) != '=') return std::nullopt;
        index = pastSpace(units, index + 1);
        if (index >= units.count() || (units.at(index) != '"' && units.at(index) != '\'')) return std::nullopt;
        const size_t valueStart = index + 1;
        index = units.find(static_cast<char>(units.at(index)), valueStart);
        if (index >= units.count()) return std::nullopt;
        if (isEncoding) {
            constexpr size_t kLongestKnownName = 20;
            Declared declared{"", index + 1};
            for (size_t i = valueStart; i < index && index - valueStart <= kLongestKnownName; ++i) {
                const char32_t c = units.at(i);
                declared.name += c < 0x80 ? lowerAscii(static_cast<char>(c)) : '\x7F';
            }
            return declared;
        }
        ++index;
    }
}

enum class Family { Ascii, Utf16, Utf32, Other };
enum class Order { Either, Little, Big };

struct Named {
    Family family;
    Order order;
};

bool isNumberedName(const std::string& name, std::string_view prefix) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return false;
    for (size_t i = prefix.size(); i < name.size(); ++i) {
        if (!isAsciiDigit(static_cast<unsigned char>(name[i]))) return false;
    }
    return true;
}

// Only names known to spell markup in ASCII, or known to be UTF-16 or
// UTF-32, are read: an allow-list, since the libraries know hundreds.
// The multibyte ones listed never use a byte below 0x40 inside a
// character, where the quotes, "<", "=" and ">" are.
Named namedEncoding(const std::string& name) {
    struct Entry {
        std::string_view name;
        Named named;
    };
    static const Entry kNames[] = {
        {"utf-8", {Family::Ascii, Order::Either}},      {"utf8", {Family::Ascii, Order::Either}},
        {"us-ascii", {Family::Ascii, Order::Either}},   {"ascii", {Family::Ascii, Order::Either}},
        {"latin1", {Family::Ascii, Order::Either}},     {"koi8-r", {Family::Ascii, Order::Either}},
        {"koi8-u", {Family::Ascii, Order::Either}},     {"shift_jis", {Family::Ascii, Order::Either}},
        {"euc-jp", {Family::Ascii, Order::Either}},     {"euc-kr", {Family::Ascii, Order::Either}},
        {"gb2312", {Family::Ascii, Order::Either}},     {"gbk", {Family::Ascii, Order::Either}},
        {"gb18030", {Family::Ascii, Order::Either}},    {"big5", {Family::Ascii, Order::Either}},
        {"utf-16", {Family::Utf16, Order::Either}},     {"utf16", {Family::Utf16, Order::Either}},
        {"ucs-2", {Family::Utf16, Order::Either}},      {"ucs2", {Family::Utf16, Order::Either}},
        {"unicode", {Family::Utf16, Order::Either}},    {"utf-16le", {Family::Utf16, Order::Little}},
        {"utf16le", {Family::Utf16, Order::Little}},    {"ucs-2le", {Family::Utf16, Order::Little}},
        {"utf-16be", {Family::Utf16, Order::Big}},      {"utf16be", {Family::Utf16, Order::Big}},
        {"ucs-2be", {Family::Utf16, Order::Big}},       {"utf-32", {Family::Utf32, Order::Either}},
        {"utf32", {Family::Utf32, Order::Either}},      {"ucs-4", {Family::Utf32, Order::Either}},
        {"ucs4", {Family::Utf32, Order::Either}},       {"utf-32le", {Family::Utf32, Order::Little}},
        {"utf32le", {Family::Utf32, Order::Little}},    {"ucs-4le", {Family::Utf32, Order::Little}},
        {"utf-32be", {Family::Utf32, Order::Big}},      {"utf32be", {Family::Utf32, Order::Big}},
        {"ucs-4be", {Family::Utf32, Order::Big}},
    };
    for (const Entry& entry : kNames) {
        if (name == entry.name) return entry.named;
    }
    for (std::string_view prefix : {"iso-8859-", "iso8859-", "iso_8859-", "windows-125", "cp125"}) {
        if (isNumberedName(name, prefix)) return {Family::Ascii, Order::Either};
    }
    return {Family::Other, Order::Either};
}

// A document in UTF-16 or UTF-32 may name its own encoding, or UTF-8,
// which the libraries ignore there; a different width or byte order would
// switch the rest of it.
bool agrees(const Declared& declared, const UnitLayout& layout) {
    if (declared.name == "utf-8" || declared.name == "utf8") return true;
    const Named named = namedEncoding(declared.name);
    const Family family = layout.width == 2 ? Family::Utf16 : Family::Utf32;
    const Order order = layout.bigEndian ? Order::Big : Order::Little;
    return named.family == family && (named.order == Order::Either || named.order == order);
}

}  // namespace

MarkupEncoding markupEncodingOf(const char* bytes, size_t size) {
    const auto* units = reinterpret_cast<const unsigned char*>(bytes);
    const std::optional<UnitLayout> layout = layoutOf(units, size);
    MarkupEncoding encoding;
    if (!layout) {
        encoding.kind = MarkupEncoding::Kind::Unreadable;
        return encoding;
    }
    encoding.layout = *layout;
    const unsigned char* first = units + layout->offset;
    const size_t rest = size - layout->offset;
    if (layout->width > 1) {
        const std::optional<Declared> declared =
            declaredEncoding(WideUnits(first, rest, layout->width, layout->bigEndian));
        if (declared && !agrees(*declared, *layout)) encoding.kind = MarkupEncoding::Kind::Unreadable;
        return encoding;
    }
    const std::optional<Declared> declared = declaredEncoding(ByteUnits(first, rest));
    if (!declared) return encoding;
    switch (namedEncoding(declared->name).family) {
    case Family::Ascii: break;
    case Family::Utf16:
        encoding.kind = MarkupEncoding::Kind::SwitchesToUtf16;
        encoding.switchOffset = layout->offset + declared->end;
        break;
    default: encoding.kind = MarkupEncoding::Kind::Unreadable;
    }
    return encoding;
}

}  // namespace XLoop
