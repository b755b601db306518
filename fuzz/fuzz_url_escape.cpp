// urlEscape writes only unreserved characters and %XX, and percent-decoding
// gives back the text (invalid UTF-8 replaced by U+FFFD, as the page sees it).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/percent_encoding.h"
#include "base/utf.h"
#include "page/script_call.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string escaped = XLoop::urlEscape(text);
    for (size_t i = 0; i < escaped.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(escaped[i]);
        const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                                c == '-' || c == '.' || c == '_' || c == '~';
        if (!unreserved && c != '%') std::abort();
        if (c == '%') i += 2;
    }
    if (XLoop::percentDecode(escaped) != XLoop::validUtf8(text)) std::abort();
    return 0;
}
