// Calls into the room page's script that carry a payload between the double
// quotes of a string argument.
#pragma once

#include <string>

namespace XLoop {

// Percent-encodes the UTF-8 bytes of text: ASCII letters, digits and "-._~"
// stay, everything else becomes %XX. Invalid UTF-8 is first replaced by
// U+FFFD, so the page's decodeURIComponent always succeeds and gives back
// every valid text exactly.
std::string urlEscape(const std::string& text);

// `function("<escaped>");`, the call of a page function whose one argument
// is a text that urlEscape made; the page decodes it.
std::string scriptCallWithEscapedPayload(const char* function, const std::string& escaped);

// The same call for a payload not yet escaped: scriptCallWithEscapedPayload
// of urlEscape of it, without the copy between them.
std::string scriptCallEscaping(const char* function, const std::string& payload);

}  // namespace XLoop
