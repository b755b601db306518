// Reports to the observers a host installed, if any, what the clients did.
#pragma once

#include <string>

#include "pods/common/veqpod_extras.h"

namespace veqpod {

void reportScript(BrowserClient* client, const std::string& pageUri, const char* script);
void reportAction(BrowserClient* client, const std::string& pageUri, const std::string& actionName,
                  const std::string& argumentText, const std::string& outcome, bool served);
// script is empty for an error of the page's own scripts.
void reportScriptError(BrowserClient* client, const std::string& pageUri, const std::string& script,
                       const std::string& message, const std::string& sourceUri, unsigned line, unsigned column);

}  // namespace veqpod
