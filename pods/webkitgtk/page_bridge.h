// The page's way to the action handlers in WebKit: the scripts of
// pods/common/bridge_script.h over a script message channel.
#pragma once

#include <set>
#include <string>

#include <webkit2/webkit2.h>

#include "pods/common/client_base.h"

namespace veqpod_webkit {

// The script message channel, open in the library's own script world only:
// the page's scripts and its frames never see it.
inline constexpr const char kBridgeChannel[] = "veq";
inline constexpr const char kBridgeWorld[] = "veq-bridge";

// Opens the channel; its messages come as script-message-with-reply-received.
void openBridgeChannel(WebKitUserContentManager* manager);
void closeBridgeChannel(WebKitUserContentManager* manager);

// From the next page on, gives window.veq to the top frame of every page
// whose pageKey is one of ownedPages, and to no other.
void offerPageBridge(WebKitUserContentManager* manager, const std::set<std::string>& ownedPages);

// Read what the bridge posted; false when the message is not one.
bool readInvocation(JSCValue* message, veqpod::Invocation* invocation);
bool readPageScriptError(JSCValue* message, veqpod::PageScriptError* error);

}  // namespace veqpod_webkit
