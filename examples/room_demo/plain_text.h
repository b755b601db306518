// Text for the panel, most of it from the page: valid UTF-8, one line, and
// no longer than a person reads.
#pragma once

#include <string>

namespace xloop_demo {

// Invalid UTF-8 becomes U+FFFD; control characters (line breaks included,
// so a page cannot forge a line of its own) are written as \xNN; a text past
// maxBytes is cut at a character and says how long it was.
std::string oneShownLine(const std::string& text, size_t maxBytes = 2000);

}  // namespace xloop_demo
