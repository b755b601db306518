#include "page/action_arguments.h"

#include <cstring>

#include "base/nullable_text.h"
#include "runtime/log.h"

namespace XLoop {

std::optional<ScriptObject> readActionArguments(const std::string& action, const char* argumentsJson) {
    // Counted only up to the cap: a text of hundreds of megabytes is not scanned.
    const size_t size = argumentsJson != nullptr ? strnlen(argumentsJson, kMaxActionArgumentBytes + 1) : 0;
    if (size > kMaxActionArgumentBytes) {
        logDebug("Refused action %s: its arguments pass the %u bytes a page may send", action.c_str(),
                 static_cast<unsigned>(kMaxActionArgumentBytes));
        return std::nullopt;
    }
    return parseActionArguments(std::string_view(argumentsJson != nullptr ? argumentsJson : "", size));
}

}  // namespace XLoop
