// The text of a preferences file.
#pragma once

#include <map>
#include <string>

#include "platform/step_result.h"

namespace XLoop {

// The XML declaration, then on the next line one "general" element with each
// entry as an attribute, in key order, closed by a separate end tag. An entry
// that would make the file unreadable is left out, with one log line.
std::string preferencesDocument(const std::map<std::string, std::string>& preferences);

// Adds the attributes of every "general" element, at any depth, in document
// order, up to the end of the text or its first fault (which is returned).
platform::StepResult readPreferencesDocument(const std::string& bytes,
                                             std::map<std::string, std::string>& preferences);

}  // namespace XLoop
