// A failed script of executeScript, as WebKit reports it.
#pragma once

#include <string>

#include "xloop/veq_browser.h"

namespace veqpod_webkit {

// Logs the failure beside the script's head and reports it to the
// script-error observer. failure is WebKit's message, which leads with the
// place when JavaScriptCore knows it ("<uri>:<line>[:<column>]: ").
void reportScriptFailure(BrowserClient* client, const std::string& pageUri, const std::string& script,
                         const std::string& failure);

}  // namespace veqpod_webkit
