// Reading an action's argument text, with a cap on its size: the page
// chooses how long it is, and decoding runs on the host's UI thread.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "page/script_object.h"
#include "prefs/preference_limits.h"

namespace XLoop {

// The longest argument text an action reads: a value at the store's limit
// and its key, every byte escaped as "\u00XX", fit with room to spare. A
// longer text could carry nothing the module keeps.
constexpr size_t kMaxActionArgumentBytes = 2 * 1024 * 1024;
static_assert(kMaxActionArgumentBytes >= 6 * (kMaxPreferenceKeyBytes + kMaxPreferenceValueBytes) + 64,
              "a stored value with every byte escaped must fit in an action's arguments");

// The arguments; nothing, after one log line, when the text is longer than
// kMaxActionArgumentBytes, which is refused before it is decoded.
std::optional<ScriptObject> readActionArguments(const std::string& action, const char* argumentsJson);

}  // namespace XLoop
