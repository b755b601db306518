#include "base/xml_attribute_scan.h"

#include "base/xml_code_units.h"
#include "base/xml_markup_encoding.h"

namespace XLoop {
namespace {

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

AttributeScan verdict(bool within) {
    return within ? AttributeScan::Within : AttributeScan::TooManyAttributes;
}

}  // namespace

AttributeScan scanAttributeWork(const char* bytes, size_t size, size_t maxAttributes) {
    const MarkupEncoding encoding = markupEncodingOf(bytes, size);
    const auto* units = reinterpret_cast<const unsigned char*>(bytes);
    const UnitLayout& layout = encoding.layout;
    const unsigned char* first = units + layout.offset;
    const size_t rest = size - layout.offset;
    switch (encoding.kind) {
    case MarkupEncoding::Kind::Units:
        if (layout.width == 1) return verdict(workWithin(ByteUnits(first, rest), maxAttributes));
        return verdict(workWithin(WideUnits(first, rest, layout.width, layout.bigEndian), maxAttributes));
    case MarkupEncoding::Kind::SwitchesToUtf16:
        // Each reading a library may make of the rest must stay within.
        for (size_t start : {encoding.switchOffset, encoding.switchOffset + 1}) {
            for (bool bigEndian : {false, true}) {
                if (start < size && !workWithin(WideUnits(units + start, size - start, 2, bigEndian), maxAttributes)) {
                    return AttributeScan::TooManyAttributes;
                }
            }
        }
        return AttributeScan::Within;
    case MarkupEncoding::Kind::Unreadable: break;
    }
    return AttributeScan::UnreadableEncoding;
}

const char* attributeScanProblem(AttributeScan scan) {
    switch (scan) {
    case AttributeScan::Within: break;
    case AttributeScan::TooManyAttributes: return "its elements carry too many attributes";
    case AttributeScan::UnreadableEncoding: return "its encoding is neither ASCII-compatible nor UTF-16 or UTF-32";
    }
    return "";
}

}  // namespace XLoop
