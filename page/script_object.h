// The object text exchanged with the room page's script: a one-level JSON
// object whose keys and values are all texts.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace XLoop {

// Keys in ascending byte order, each key once.
using ScriptObject = std::map<std::string, std::string>;

// Appends text as a JSON string literal: the quote, the backslash and every
// control byte are escaped (\b \f \n \r \t, the others as \u00xx), so that the
// page's JSON.parse accepts it. Other bytes, UTF-8 included, pass unchanged.
void quoteJsonString(std::string_view text, std::string& out);
// The same, for a caller that has measured text with quotedJsonLength.
void quoteJsonString(std::string_view text, size_t quotedLength, std::string& out);

// How many bytes quoteJsonString appends for text, so a large payload can be
// sized before it is written.
size_t quotedJsonLength(std::string_view text);

// {"key": "value", "key2": "value2"} in key order, one blank after each
// comma and none elsewhere; an empty object is {}.
std::string serializeJsonObject(const ScriptObject& object);

// Reads any one-level JSON object whose values are texts, blanks anywhere
// JSON allows them. The first occurrence of a key wins. Reading stops at the
// first fault; the pairs read before it are kept, so a faulty text never
// yields a misread key.
ScriptObject parseActionArguments(std::string_view text);

// Reads one JSON string literal whose opening quote is just before position
// and moves position past its closing quote. \uXXXX escapes become UTF-8
// (a surrogate pair one character, a lone surrogate U+FFFD). Nothing on a
// fault: a raw control byte, an unknown escape, \u0000 (it would cut a text
// short), or no closing quote.
std::optional<std::string> readQuotedText(std::string_view text, size_t& position);

}  // namespace XLoop
