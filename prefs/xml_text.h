// What an XML 1.0 document can carry, checked before anything is written:
// the XML writers write whatever they are given, and one bad attribute makes
// the whole file unreadable.
#pragma once

#include <string>

namespace XLoop {

// Valid UTF-8 holding only characters XML 1.0 allows: no control characters
// other than tab, line feed and carriage return, no U+FFFE or U+FFFF.
bool isXmlText(const std::string& text);

// A name that reads back as the same attribute with or without namespace
// processing: an NCName (no colon) other than "xmlns", which declares a
// namespace; "xmlnsFoo" is an ordinary attribute to both readers. Both
// the current XML 1.0 name rules and those of its Fourth Edition must take
// it, since the XML reader of older Windows versions refuses the whole
// element over one name it does not know.
bool isPlainAttributeName(const std::string& name);

}  // namespace XLoop
