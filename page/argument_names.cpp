#include "page/argument_names.h"

#include <algorithm>

#include "runtime/log.h"

namespace XLoop {
namespace {

// The log cuts a line near this length: names past it would be lost anyway,
// and a page may send many long ones.
constexpr size_t kListedBytes = 1024;

void listName(const std::string& name, std::string& list) {
    if (list.size() > kListedBytes) return;
    if (!list.empty()) list += ", ";
    quoteJsonString(name, list);  // a quote or comma in a name cannot blur the list
}

bool contains(std::initializer_list<const char*> names, const std::string& name) {
    return std::any_of(names.begin(), names.end(), [&](const char* known) { return name == known; });
}

}  // namespace

bool argumentsNamed(const std::string& action, const ScriptObject& arguments,
                    std::initializer_list<const char*> needed, std::initializer_list<const char*> optional) {
    std::string missing;
    std::string unknown;
    for (const char* name : needed) {
        if (arguments.count(name) == 0) listName(name, missing);
    }
    for (const auto& pair : arguments) {
        if (!contains(needed, pair.first) && !contains(optional, pair.first)) listName(pair.first, unknown);
    }
    if (!missing.empty()) {
        logDebug("Action %s did nothing: its arguments lack %s%s%s", action.c_str(), missing.c_str(),
                 unknown.empty() ? "" : "; it does not know ", unknown.c_str());
    } else if (!unknown.empty()) {
        logDebug("Action %s ignored the arguments it does not know: %s", action.c_str(), unknown.c_str());
    }
    return missing.empty();
}

}  // namespace XLoop
