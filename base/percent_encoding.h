// Percent-encoding of UTF-8 bytes.
#pragma once

#include <string>

namespace XLoop {

// Keeps ASCII letters, digits, "-._~" and the characters in alsoKeep; every
// other byte becomes %XX with upper-case hex digits.
std::string percentEncode(const std::string& bytes, const char* alsoKeep = "");

// Every %XX (either case of hex digit) becomes its byte; a "%" not followed by
// two hex digits stays as it is.
std::string percentDecode(const std::string& text);

}  // namespace XLoop
