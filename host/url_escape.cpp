#include "host/url_escape.h"

#include "base/percent_encoding.h"
#include "base/utf.h"

namespace XLoop {

std::string urlEscape(const std::string& text) {
    return percentEncode(toUtf8(toWide(text.c_str()).c_str()));
}

}  // namespace XLoop
