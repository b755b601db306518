// What every script action handler does with its argument and reply objects.
#pragma once

#include <string>

#include "page/script_object.h"

namespace XLoop {

// The argument's value under key, null when the page sent none.
inline const std::string* argumentValue(const ScriptObject& arguments, const char* key) {
    auto found = arguments.find(key);
    return found != arguments.end() ? &found->second : nullptr;
}

// The reply text for the browser library, which owns and frees it.
inline char* replyText(const ScriptObject& reply) {
    std::string text = serializeJsonObject(reply);
    return takeHeapCString(text);
}

}  // namespace XLoop
