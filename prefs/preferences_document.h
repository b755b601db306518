// The text of a preferences file.
#pragma once

#include <map>
#include <string>

namespace XLoop {

// The XML declaration, then on the next line one "general" element with each
// entry as an attribute, in key order, closed by a separate end tag. An entry
// that would make the file unreadable is left out, with one log line.
std::string preferencesDocument(const std::map<std::string, std::string>& preferences);

}  // namespace XLoop
