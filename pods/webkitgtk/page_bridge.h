// The page's way to the action handlers: window.veq.invoke(name, args).
#pragma once

#include <string>

#include <webkit2/webkit2.h>

namespace veqpod_webkit {

// The script message channel that window.veq.invoke posts to.
inline constexpr const char kBridgeChannel[] = "veq";

// Gives every page of the manager's views window.veq and opens the channel.
void installPageBridge(WebKitUserContentManager* manager);

struct Invocation {
    std::string actionName;
    std::string argumentText;  // the arguments as the page's JSON.stringify wrote them
};

// Reads what window.veq.invoke posted; false when the message is not one.
bool readInvocation(JSCValue* message, Invocation* invocation);

}  // namespace veqpod_webkit
