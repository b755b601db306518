// A document's text as code units of one width and byte order, for scans
// that only tell ASCII markup characters from everything else. Each width
// has its own reader, so that the byte-wide one, which nearly every document
// takes, reads bytes as they are.
#pragma once

#include <array>
#include <cstddef>
#include <cstring>
#include <string>

namespace XLoop {

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
        return found != nullptr ? static_cast<size_t>(static_cast<const unsigned char*>(found) - units) : unitCount;
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

}  // namespace XLoop
