#include "page/script_call.h"

#include "base/percent_encoding.h"
#include "base/utf.h"

namespace XLoop {

std::string urlEscape(const std::string& text) {
    return percentEncode(toUtf8(toWide(text.c_str()).c_str()));
}

std::string scriptCallWithEscapedPayload(const char* function, const std::string& escaped) {
    return std::string(function) + "(\"" + escaped + "\");";
}

}  // namespace XLoop
