// What every script action handler does with its argument and reply objects.
#pragma once

#include <string>

#include "page/script_object.h"
#include "runtime/boundary.h"
#include "runtime/text_copies.h"

namespace XLoop {

// The argument's value under key, null when the page sent none.
inline const std::string* argumentValue(const ScriptObject& arguments, const char* key) {
    auto found = arguments.find(key);
    return found != arguments.end() ? &found->second : nullptr;
}

// The reply text for the browser library, which owns and frees it.
inline char* replyText(const ScriptObject& reply) {
    std::string text = serializeJsonObject(reply);
    return copyFreedByTheLibrary(text);
}

// Serves one action: work gives the reply object. The library always gets a
// reply text, the empty object when the work failed (logged) or its reply
// could not be allocated; only when not even that can be allocated is it null.
template <class Work>
void serveAction(char** result, Work&& work) noexcept {
    *result = nullptr;
    guardBoundary("handleAction", [&] { *result = replyText(work()); });
    if (*result == nullptr) {
        std::string empty = "{}";  // held in the string itself: nothing to allocate but the copy
        *result = copyFreedByTheLibrary(empty);
    }
}

}  // namespace XLoop
