// The object text exchanged with the room page's script.
#pragma once

#include <string>

namespace XLoop {

// Appends text as a JSON string literal: the quote, the backslash and every
// control byte are escaped (\b \f \n \r \t, the others as \u00xx), so that the
// page's JSON.parse accepts it. Other bytes, UTF-8 included, pass unchanged.
void quoteJsonString(const std::string& text, std::string& out);

// Moves text into a NUL-terminated copy that the browser library owns and
// frees (a script action's reply); text is left empty. Null when out of memory.
char* takeHeapCString(std::string& text);

}  // namespace XLoop
