// The name characters of XML 1.0 up to its Fourth Edition (Appendix B),
// which the XML reader of older Windows versions still applies.
#pragma once

namespace XLoop {

// A Letter or '_': what such a reader takes at the start of a name without
// a colon.
bool isOlderXmlNameStartChar(char32_t c);

// A Letter, Digit, CombiningChar or Extender, or one of "._-": what it takes
// after the first character.
bool isOlderXmlNameChar(char32_t c);

}  // namespace XLoop
