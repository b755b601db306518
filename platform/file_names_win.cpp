#include "platform/file_names.h"

#include <windows.h>

#include "platform/wide_text_win.h"

namespace XLoop::platform {

// The ordinal upper-casing NTFS itself uses, so names that reach the same
// file compare equal, for non-ASCII letters too.
int compareFileNames(const std::string& a, const std::string& b) {
    std::u16string wideA = wideFromUtf8(a);
    std::u16string wideB = wideFromUtf8(b);
    int order = CompareStringOrdinal(wideChars(wideA), static_cast<int>(wideA.size()), wideChars(wideB),
                                     static_cast<int>(wideB.size()), TRUE);
    return order - CSTR_EQUAL;
}

bool isPathSeparator(char byte) {
    return byte == '/' || byte == '\\';
}

}  // namespace XLoop::platform
