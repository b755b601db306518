#include "pods/webkitgtk/page_bridge.h"

#include "pods/common/bridge_script.h"

namespace veqpod_webkit {
namespace {

// The channel as the bridge's world found it when its script started.
const char kPostMessage[] =
    "((channel) => (message) => channel.postMessage(message))(window.webkit.messageHandlers.veq)";

void addScript(WebKitUserContentManager* manager, WebKitUserScript* script) {
    webkit_user_content_manager_add_script(manager, script);
    webkit_user_script_unref(script);
}

bool readText(JSCValue* value, std::string* text) {
    if (!jsc_value_is_string(value)) return false;
    char* utf8 = jsc_value_to_string(value);
    text->assign(utf8);
    g_free(utf8);
    return true;
}

bool readProperty(JSCValue* object, const char* name, std::string* text) {
    JSCValue* property = jsc_value_object_get_property(object, name);
    bool read = readText(property, text);
    g_object_unref(property);
    return read;
}

unsigned readCount(JSCValue* object, const char* name) {
    JSCValue* property = jsc_value_object_get_property(object, name);
    const int32_t value = jsc_value_is_number(property) ? jsc_value_to_int32(property) : 0;
    g_object_unref(property);
    return value > 0 ? static_cast<unsigned>(value) : 0;
}

}  // namespace

void openBridgeChannel(WebKitUserContentManager* manager) {
    webkit_user_content_manager_register_script_message_handler_with_reply(manager, kBridgeChannel,
                                                                          kBridgeWorld);
}

void closeBridgeChannel(WebKitUserContentManager* manager) {
    webkit_user_content_manager_unregister_script_message_handler_in_world(manager, kBridgeChannel,
                                                                          kBridgeWorld);
}

void offerPageBridge(WebKitUserContentManager* manager, const std::set<std::string>& ownedPages) {
    const WebKitUserContentInjectedFrames frames = WEBKIT_USER_CONTENT_INJECT_TOP_FRAME;
    const WebKitUserScriptInjectionTime start = WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START;
    const std::string pageHalf = veqpod::pageHalfScript(ownedPages);
    const std::string bridgeHalf = veqpod::bridgeHalfScript(ownedPages, kPostMessage);
    webkit_user_content_manager_remove_all_scripts(manager);
    addScript(manager, webkit_user_script_new(pageHalf.c_str(), frames, start, nullptr, nullptr));
    addScript(manager, webkit_user_script_new_for_world(bridgeHalf.c_str(), frames, start,
                                                        kBridgeWorld, nullptr, nullptr));
}

bool readPageScriptError(JSCValue* message, veqpod::PageScriptError* error) {
    if (!jsc_value_is_object(message) || !readProperty(message, "scriptError", &error->message)) return false;
    readProperty(message, "file", &error->sourceUri);
    error->line = readCount(message, "line");
    error->column = readCount(message, "column");
    return true;
}

bool readInvocation(JSCValue* message, veqpod::Invocation* invocation) {
    if (!jsc_value_is_object(message)) return false;
    return readProperty(message, "name", &invocation->actionName) &&
           readProperty(message, "args", &invocation->argumentText);
}

}  // namespace veqpod_webkit
