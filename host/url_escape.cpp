#include "host/url_escape.h"

#include "config/percent_encoding.h"
#include "config/text_encoding.h"

namespace XLoop {

std::string urlEscape(const std::string& text) {
    return percentEncode(toUtf8(toWide(text.c_str()).c_str()));
}

}  // namespace XLoop
