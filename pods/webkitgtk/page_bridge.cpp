#include "pods/webkitgtk/page_bridge.h"

namespace veqpod_webkit {
namespace {

// Posts the action name and the arguments as the JSON text of an object of
// texts (other values as their own JSON text), which the module reads as it
// is; the reply comes back as the handler's object text. The object has no
// prototype, so a key like "__proto__" stays an ordinary key.
const char kBridgeScript[] = R"js(
(() => {
  const channel = window.webkit.messageHandlers.veq;
  const asText = (value) => (typeof value === "string" ? value : JSON.stringify(value));
  window.veq = Object.freeze({
    invoke(name, args) {
      const texts = Object.create(null);
      for (const [key, value] of Object.entries(args ?? {})) {
        const text = asText(value);
        if (text !== undefined) texts[key] = text;
      }
      return channel.postMessage({ name: String(name), args: JSON.stringify(texts) })
        .then((reply) => JSON.parse(reply));
    },
  });
})();
)js";

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

}  // namespace

void installPageBridge(WebKitUserContentManager* manager) {
    WebKitUserScript* script = webkit_user_script_new(
        kBridgeScript, WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
        WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr);
    webkit_user_content_manager_add_script(manager, script);
    webkit_user_script_unref(script);
    webkit_user_content_manager_register_script_message_handler_with_reply(manager, kBridgeChannel,
                                                                          nullptr);
}

bool readInvocation(JSCValue* message, Invocation* invocation) {
    if (!jsc_value_is_object(message)) return false;
    return readProperty(message, "name", &invocation->actionName) &&
           readProperty(message, "args", &invocation->argumentText);
}

}  // namespace veqpod_webkit
