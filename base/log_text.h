// Text made safe for a diagnostic line: whatever a page or a server sent may
// end up in one, and must neither start a line of its own nor drive the
// terminal or viewer that shows it.
#pragma once

#include <cstddef>

namespace XLoop {

// Copies text[0, length) into out (capacity bytes, NUL included) and returns
// how many bytes it wrote before the NUL. Every byte below 0x20, 0x7F, every
// byte of a C1 control (U+0080 to U+009F), of the line and paragraph
// separators (U+2028, U+2029), of a bidirectional control (U+061C, U+200E,
// U+200F, U+202A to U+202E, U+2066 to U+2069) and of an invalid UTF-8
// sequence is written as \xNN with upper-case hex digits. A character that
// does not fit whole is left out with everything after it, so the copy never
// ends inside a character or an escape. An incomplete sequence at the very
// end of the text counts as cut off, not as invalid: it is left out too.
size_t copyLogSafeText(const char* text, size_t length, char* out, size_t capacity);

}  // namespace XLoop
