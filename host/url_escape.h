// Texts that travel between the double quotes of a script call.
#pragma once

#include <string>

namespace XLoop {

// Percent-encodes the UTF-8 bytes of text: ASCII letters, digits and "-._~"
// stay, everything else becomes %XX. Invalid UTF-8 is first replaced by
// U+FFFD, so the page's decodeURIComponent always succeeds and gives back
// every valid text exactly.
std::string urlEscape(const std::string& text);

}  // namespace XLoop
