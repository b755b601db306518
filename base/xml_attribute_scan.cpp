#include "base/xml_attribute_scan.h"

#include <array>
#include <cstring>
#include <string>

#include "base/ascii.h"

namespace XLoop {
namespace {

// The scan only needs to tell ASCII markup characters from everything else,
// so it reads the document as code units of one width and byte order. Each
// width has its own reader, so that the byte-wide one, which nearly every
// document takes, reads bytes as they are.

// UTF-8 and the other encodings that spell markup in ASCII bytes.
class ByteUnits {
public:
    ByteUnits(const unsigned char* units, size_t count) : units(units), unitCount(count) {}

    size_t count() const { return unitCount; }
    char32_t at(size_t index) const { return units[index]; }

    // The index of the next ASCII character c at or after index; count()
    // when there is none.
    size_t find(char c, size_t index) const {
        const void* found = index < unitCount ? std::memchr(units + index, c, unitCount - index) : nullptr;
        return found != nullptr ? static_cast<const unsigned char*>(found) - units : unitCount;
    }

    // The index of the next quote, "=" or ">" at or after index; count()
    // when there is none.
    size_t findTagMark(size_t index) const {
        static constexpr auto kTagMarks = [] {
            std::array<bool, 256> marks{};
            for (unsigned char mark : {'"', '\'', '=', '>'}) marks[mark] = true;
            return marks;
        }();
        while (index < unitCount && !kTagMarks[units[index]]) ++index;
        return index;
    }

private:
    const unsigned char* units;
    size_t unitCount;
};

// UTF-16 and UTF-32, either byte order.
class WideUnits {
public:
    WideUnits(const unsigned char* units, size_t size, size_t width, bool bigEndian)
        : units(units), unitCount(size / width), width(width), bigEndian(bigEndian) {}

    size_t count() const { return unitCount; }

    char32_t at(size_t index) const {
        const unsigned char* unit = units + index * width;
        char32_t value = 0;
        for (size_t i = 0; i < width; ++i) value |= char32_t(unit[bigEndian ? width - 1 - i : i]) << (8 * i);
        return value;
    }

    size_t find(char c, size_t index) const {
        while (index < unitCount && at(index) != char32_t(static_cast<unsigned char>(c))) ++index;
        return index;
    }

    size_t findTagMark(size_t index) const {
        for (; index < unitCount; ++index) {
            const char32_t c = at(index);
            if (c == '"' || c == '\'' || c == '=' || c == '>') break;
        }
        return index;
    }

private:
    const unsigned char* units;
    size_t unitCount;
    size_t width;
    bool bigEndian;
};

template <class Units>
bool startsWith(const Units& units, size_t index, const char* ascii) {
    for (; *ascii != 0; ++index, ++ascii) {
        if (index >= units.count() || units.at(index) != char32_t(static_cast<unsigned char>(*ascii))) return false;
    }
    return true;
}

// The index just past the next occurrence of end at or after index.
template <class Units>
size_t pastNext(const Units& units, size_t index, const char* end) {
    while ((index = units.find(end[0], index)) < units.count() && !startsWith(units, index, end)) ++index;
    return index + std::char_traits<char>::length(end);
}

template <class Units>
bool workWithin(const Units& units, size_t maxAttributes) {
    const size_t budget = maxAttributes * maxAttributes;
    size_t work = 0;
    size_t index = 0;
    while ((index = units.find('<', index)) < units.count()) {
        const char32_t next = index + 1 < units.count() ? units.at(index + 1) : 0;
        if (next == '!' && startsWith(units, index, "<!--")) {
            index = pastNext(units, index + 4, "-->");
        } else if (next == '!' && startsWith(units, index, "<![CDATA[")) {
            index = pastNext(units, index + 9, "]]>");
        } else if (next == '?') {
            index = pastNext(units, index + 2, "?>");
        } else if (next == '!' || next == '/') {
            index = pastNext(units, index + 2, ">");
        } else {
            // A start tag: outside quoted values, each "=" joins a name to
            // its value.
            size_t attributes = 0;
            for (++index; (index = units.findTagMark(index)) < units.count(); ++index) {
                const char32_t c = units.at(index);
                if (c == '"' || c == '\'') {
                    index = units.find(static_cast<char>(c), index + 1);  // past the value, in one search
                } else if (c == '=') {
                    if (++attributes > maxAttributes) return false;
                } else {
                    break;  // the tag's ">"
                }
            }
            work += attributes * attributes;
            if (work > budget) return false;
        }
    }
    return true;
}

bool begins(const char* bytes, size_t size, const char* signature, size_t length) {
    return size >= length && std::char_traits<char>::compare(bytes, signature, length) == 0;
}

// UTF-7, ISO-2022 and HZ spell markup in escape sequences a byte scan
// cannot follow.
bool declaresShiftingEncoding(const ByteUnits& units) {
    if (!startsWith(units, 0, "<?xml")) return false;
    std::string declaration;
    for (size_t i = 0; i < units.count() && i < 256 && units.at(i) != '>'; ++i) {
        declaration += lowerAscii(static_cast<char>(units.at(i)));
    }
    const size_t name = declaration.find("encoding");
    if (name == std::string::npos) return false;
    const size_t quote = declaration.find_first_of("\"'", name);
    if (quote == std::string::npos) return false;
    const std::string encoding = declaration.substr(quote + 1);
    for (const char* shifting : {"utf-7", "utf7", "iso-2022", "csiso2022", "hz"}) {
        if (encoding.compare(0, std::char_traits<char>::length(shifting), shifting) == 0) return true;
    }
    return false;
}

}  // namespace

bool attributeWorkWithin(const char* bytes, size_t size, size_t maxAttributes) {
    // The same signatures the XML libraries look for: a byte order mark, or
    // the first characters "<?" in a wider encoding.
    struct Layout {
        const char* signature;
        size_t length;
        size_t width;  // 0: an encoding the scan cannot read
        bool bigEndian;
        size_t skip;
    };
    static constexpr Layout kLayouts[] = {
        {"\x00\x00\xFE\xFF", 4, 4, true, 4},  {"\xFF\xFE\x00\x00", 4, 4, false, 4},
        {"\x00\x00\x00\x3C", 4, 4, true, 0},  {"\x3C\x00\x00\x00", 4, 4, false, 0},
        {"\xFE\xFF", 2, 2, true, 2},          {"\xFF\xFE", 2, 2, false, 2},
        {"\x00\x3C\x00\x3F", 4, 2, true, 0},  {"\x3C\x00\x3F\x00", 4, 2, false, 0},
        {"\x4C\x6F\xA7\x94", 4, 0, false, 0},  // EBCDIC
    };
    const auto* units = reinterpret_cast<const unsigned char*>(bytes);
    for (const Layout& layout : kLayouts) {
        if (!begins(bytes, size, layout.signature, layout.length)) continue;
        if (layout.width == 0) return false;
        return workWithin(WideUnits(units + layout.skip, size - layout.skip, layout.width, layout.bigEndian),
                          maxAttributes);
    }
    const size_t skip = begins(bytes, size, "\xEF\xBB\xBF", 3) ? 3 : 0;
    const ByteUnits byteUnits(units + skip, size - skip);
    return !declaresShiftingEncoding(byteUnits) && workWithin(byteUnits, maxAttributes);
}

}  // namespace XLoop
