// Reports to the observer a host installed, if any, what the clients did.
#pragma once

#include <string>

#include "pods/webkitgtk/veqpod_webkit.h"

namespace veqpod_webkit {

void setObserver(const VEQPodObserver* observer);
void setScriptErrorObserver(const VEQPodScriptErrorObserver* observer);
void reportScript(BrowserClient* client, const std::string& pageUri, const char* script);
void reportAction(BrowserClient* client, const std::string& pageUri, const std::string& actionName,
                  const std::string& argumentText, const std::string& outcome, bool served);
// failure is WebKit's message of a failed script, which leads with the
// place when JavaScriptCore knows it ("<uri>:<line>[:<column>]: ").
void reportScriptFailure(BrowserClient* client, const std::string& pageUri, const std::string& script,
                         const std::string& failure);
// script is empty for an error of the page's own scripts.
void reportScriptError(BrowserClient* client, const std::string& pageUri, const std::string& script,
                       const std::string& message, const std::string& sourceUri, unsigned line, unsigned column);

}  // namespace veqpod_webkit
