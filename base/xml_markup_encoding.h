// How a document spells its markup, as far as a scan made before an XML
// library parses it must know: the width and byte order of its code units,
// found where the libraries find them (a byte order mark, or the zero bytes
// around the first characters), and whether its XML declaration switches to
// an encoding that reads its bytes otherwise.
#pragma once

#include <cstddef>

namespace XLoop {

struct UnitLayout {
    size_t width = 1;  // bytes per code unit: 1, 2 or 4
    bool bigEndian = false;
    size_t offset = 0;  // of the first unit, past any byte order mark
};

struct MarkupEncoding {
    enum class Kind {
        // Every unit from layout.offset on spells markup in ASCII.
        Units,
        // ASCII bytes up to switchOffset, then UTF-16: the libraries switch
        // at different points of the declaration, so the alignment and the
        // byte order of the units after it are not settled.
        SwitchesToUtf16,
        // EBCDIC, an encoding that shifts in and out of ASCII, any other
        // encoding not known to spell markup in ASCII, or a declaration at
        // odds with the byte order mark or the zero bytes.
        Unreadable,
    };
    Kind kind = Kind::Units;
    UnitLayout layout;
    size_t switchOffset = 0;  // in bytes: just past the declared encoding's closing quote
};

MarkupEncoding markupEncodingOf(const char* bytes, size_t size);

}  // namespace XLoop
