// UTF-8 inside the module, UTF-16 at the operating system's calls.
#pragma once

#include <string>

namespace XLoop {

// Invalid sequences become U+FFFD; a null text gives the empty text.
std::string toUtf8(const char16_t* text);
std::u16string toWide(const char* text);

// The sequence that starts at p (not at a text's terminating NUL): how many
// bytes it takes, and whether they are valid UTF-8. An invalid one is a
// maximal invalid subsequence, which the conversions turn into one U+FFFD.
struct Utf8Step {
    size_t length;
    bool valid;
};
Utf8Step nextUtf8Step(const unsigned char* p);

// U+FFFD in UTF-8.
constexpr char kReplacementUtf8[] = "\xEF\xBF\xBD";

// The text, up to an embedded NUL, with every invalid sequence replaced by
// U+FFFD, as a round trip through UTF-16 would give it.
std::string validUtf8(const std::string& text);

}  // namespace XLoop
