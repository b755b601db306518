// Reports to the observer a host installed, if any, what the clients did.
#pragma once

#include <string>

#include "pods/webkitgtk/veqpod_webkit.h"

namespace veqpod_webkit {

void setObserver(const VEQPodObserver* observer);
void reportScript(BrowserClient* client, const std::string& pageUri, const char* script);
void reportAction(BrowserClient* client, const std::string& pageUri, const std::string& actionName,
                  const std::string& argumentText, const std::string& outcome, bool served);

}  // namespace veqpod_webkit
