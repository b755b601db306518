// The text of a preferences file.
#pragma once

#include <cstddef>
#include <map>
#include <string>

#include "platform/step_result.h"

namespace XLoop {

// The XML declaration, then on the next line one "general" element with each
// entry as an attribute, in key order, closed by a separate end tag. An entry
// that would make the file unreadable is left out, with one log line.
std::string preferencesDocument(const std::map<std::string, std::string>& preferences);

// The size of that text: the part one entry takes (0 for an entry left
// out), and the whole.
size_t preferenceEntryBytes(const std::string& key, const std::string& value);
size_t preferencesDocumentBytes(const std::map<std::string, std::string>& preferences);

// A key as a log line can show it: its start, printable ASCII, everything
// else as %XX.
std::string printableKey(const std::string& key);

// Adds the attributes of every "general" element, at any depth, in document
// order, up to the end of the text or its first fault (which is returned).
// A text whose elements carry too many attributes to parse quickly is
// refused unread.
platform::StepResult readPreferencesDocument(const std::string& bytes,
                                             std::map<std::string, std::string>& preferences);

}  // namespace XLoop
