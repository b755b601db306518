// UTF-8 inside the module, UTF-16 at the operating system's calls.
#pragma once

#include <string>

namespace XLoop {

// Invalid sequences become U+FFFD; a null text gives the empty text.
std::string toUtf8(const char16_t* text);
std::u16string toWide(const char* text);

}  // namespace XLoop
