// What an action tells the log about argument names it cannot use: the
// page's own mistakes otherwise pass unseen, since every reply looks alike.
#pragma once

#include <initializer_list>
#include <string>

#include "page/script_object.h"

namespace XLoop {

// Whether the arguments hold every name in needed. Otherwise, or when they
// carry names that are neither needed nor in optional, writes one log line
// naming them: the action then did nothing, or ignored those names.
bool argumentsNamed(const std::string& action, const ScriptObject& arguments,
                    std::initializer_list<const char*> needed, std::initializer_list<const char*> optional = {});

}  // namespace XLoop
