#include "base/xml_attribute_scan.h"

#include <cstring>
#include <string>

#include "base/ascii.h"

namespace XLoop {
namespace {

// The document as a sequence of code units of one width and byte order; the
// scan only needs to tell ASCII markup characters from everything else.
class Units {
public:
    Units(const unsigned char* bytes, size_t size) : bytes(bytes), size(size) { detectLayout(); }

    bool readable() const { return width != 0; }
    size_t count() const { return unitCount; }

    // The index of the next ASCII character c at or after index; count()
    // when there is none.
    size_t find(char c, size_t index) const {
        if (width == 1) {
            const void* found = index < unitCount ? std::memchr(bytes + start + index, c, unitCount - index) : nullptr;
            return found != nullptr ? static_cast<const unsigned char*>(found) - (bytes + start) : unitCount;
        }
        while (index < unitCount && at(index) != char32_t(static_cast<unsigned char>(c))) ++index;
        return index;
    }

    char32_t at(size_t index) const {
        if (width == 1) return bytes[start + index];  // UTF-8 and the like: nearly every document
        const unsigned char* unit = bytes + start + index * width;
        char32_t value = 0;
        for (size_t i = 0; i < width; ++i) value |= char32_t(unit[bigEndian ? width - 1 - i : i]) << (8 * i);
        return value;
    }

    bool startsWith(size_t index, const char* ascii) const {
        for (; *ascii != 0; ++index, ++ascii) {
            if (index >= count() || at(index) != char32_t(static_cast<unsigned char>(*ascii))) return false;
        }
        return true;
    }

private:
    bool begins(const char* signature, size_t length) const {
        return size >= length && std::char_traits<char>::compare(reinterpret_cast<const char*>(bytes), signature,
                                                                 length) == 0;
    }

    void use(size_t unitWidth, bool big, size_t skip) {
        width = unitWidth;
        bigEndian = big;
        start = skip;
        unitCount = unitWidth != 0 ? (size - skip) / unitWidth : 0;
    }

    // The same signatures the XML libraries look for: a byte order mark, or
    // the first characters "<?" in a wider encoding.
    void detectLayout() {
        if (begins("\x00\x00\xFE\xFF", 4)) return use(4, true, 4);
        if (begins("\xFF\xFE\x00\x00", 4)) return use(4, false, 4);
        if (begins("\x00\x00\x00\x3C", 4)) return use(4, true, 0);
        if (begins("\x3C\x00\x00\x00", 4)) return use(4, false, 0);
        if (begins("\xFE\xFF", 2)) return use(2, true, 2);
        if (begins("\xFF\xFE", 2)) return use(2, false, 2);
        if (begins("\x00\x3C\x00\x3F", 4)) return use(2, true, 0);
        if (begins("\x3C\x00\x3F\x00", 4)) return use(2, false, 0);
        if (begins("\x4C\x6F\xA7\x94", 4)) return;  // EBCDIC
        use(1, false, begins("\xEF\xBB\xBF", 3) ? 3 : 0);
        if (declaresShiftingEncoding()) use(0, false, 0);
    }

    // UTF-7, ISO-2022 and HZ spell markup in escape sequences a byte scan
    // cannot follow.
    bool declaresShiftingEncoding() const {
        if (!startsWith(0, "<?xml")) return false;
        std::string declaration;
        for (size_t i = 0; i < count() && i < 256 && at(i) != '>'; ++i) {
            declaration += lowerAscii(static_cast<char>(at(i)));
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

    const unsigned char* bytes;
    size_t size;
    size_t width = 0;
    bool bigEndian = false;
    size_t start = 0;
    size_t unitCount = 0;
};

// The index just past the next occurrence of end at or after index.
size_t pastNext(const Units& units, size_t index, const char* end) {
    while ((index = units.find(end[0], index)) < units.count() && !units.startsWith(index, end)) ++index;
    return index + std::char_traits<char>::length(end);
}

}  // namespace

bool attributeWorkWithin(const char* bytes, size_t size, size_t maxAttributes) {
    const Units units(reinterpret_cast<const unsigned char*>(bytes), size);
    if (!units.readable()) return false;
    const size_t budget = maxAttributes * maxAttributes;
    size_t work = 0;
    size_t index = 0;
    while ((index = units.find('<', index)) < units.count()) {
        if (units.startsWith(index, "<!--")) {
            index = pastNext(units, index + 4, "-->");
        } else if (units.startsWith(index, "<![CDATA[")) {
            index = pastNext(units, index + 9, "]]>");
        } else if (units.startsWith(index, "<?")) {
            index = pastNext(units, index + 2, "?>");
        } else if (units.startsWith(index, "<!") || units.startsWith(index, "</")) {
            index = pastNext(units, index + 2, ">");
        } else {
            // A start tag: outside quoted values, each "=" joins a name to
            // its value.
            size_t attributes = 0;
            for (++index; index < units.count(); ++index) {
                const char32_t c = units.at(index);
                if (c == '"' || c == '\'') {
                    index = units.find(static_cast<char>(c), index + 1);  // past the value, in one search
                } else if (c == '=') {
                    if (++attributes > maxAttributes) return false;
                } else if (c == '>') {
                    break;
                }
            }
            work += attributes * attributes;
            if (work > budget) return false;
        }
    }
    return true;
}

}  // namespace XLoop
