// The page's way to the action handlers: window.veq.invoke(name, args).
#pragma once

#include <set>
#include <string>

#include <webkit2/webkit2.h>

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

struct Invocation {
    std::string actionName;
    std::string argumentText;  // the arguments as the page's JSON.stringify wrote them
};

// Reads what the bridge posted for window.veq.invoke; false when the message
// is not one.
bool readInvocation(JSCValue* message, Invocation* invocation);

// An error that no script of the page caught (in an event handler, a
// rejected promise), with where it was thrown when JavaScriptCore says.
struct PageScriptError {
    std::string message;
    std::string sourceUri;
    unsigned line = 0;
    unsigned column = 0;
};

// Reads what the bridge posted for such an error; false when the message is
// not one.
bool readPageScriptError(JSCValue* message, PageScriptError* error);

}  // namespace veqpod_webkit
