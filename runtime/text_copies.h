// NUL-terminated copies of texts, named by who frees them: the heap the
// browser library frees from is not the C runtime's on Windows.
#pragma once

#include <string>

namespace XLoop {

// A copy for whoever frees it with free(); null when out of memory.
char* copyFreedWithFree(const std::string& text);

// Moves text into a copy that the browser library owns and frees (a script
// action's reply); text is left empty. Null when out of memory.
char* copyFreedByTheLibrary(std::string& text);

}  // namespace XLoop
