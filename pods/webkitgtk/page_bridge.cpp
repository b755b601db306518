#include "pods/webkitgtk/page_bridge.h"

#include <map>

#include "pods/webkitgtk/argument_text.h"

namespace veqpod_webkit {
namespace {

// Posts the action name and the arguments as [key, text] pairs (an array,
// so that no key can reach an object's prototype); the reply comes back as
// the handler's object text.
const char kBridgeScript[] = R"js(
(() => {
  const channel = window.webkit.messageHandlers.veq;
  const asText = (value) => (typeof value === "string" ? value : JSON.stringify(value));
  window.veq = Object.freeze({
    invoke(name, args) {
      const pairs = [];
      for (const [key, value] of Object.entries(args ?? {})) {
        const text = asText(value);
        if (text !== undefined) pairs.push([key, text]);
      }
      return channel.postMessage({ name: String(name), args: pairs })
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

bool readPair(JSCValue* pair, std::map<std::string, std::string>* pairs) {
    std::string key;
    std::string value;
    if (!readProperty(pair, "0", &key) || !readProperty(pair, "1", &value)) return false;
    pairs->emplace(std::move(key), std::move(value));
    return true;
}

bool readPairs(JSCValue* array, std::map<std::string, std::string>* pairs) {
    if (!jsc_value_is_array(array)) return false;
    JSCValue* lengthValue = jsc_value_object_get_property(array, "length");
    int length = jsc_value_to_int32(lengthValue);
    g_object_unref(lengthValue);
    for (int i = 0; i < length; ++i) {
        JSCValue* pair = jsc_value_object_get_property_at_index(array, static_cast<guint>(i));
        bool read = readPair(pair, pairs);
        g_object_unref(pair);
        if (!read) return false;
    }
    return true;
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
    if (!readProperty(message, "name", &invocation->actionName)) return false;
    JSCValue* array = jsc_value_object_get_property(message, "args");
    std::map<std::string, std::string> pairs;
    bool read = readPairs(array, &pairs);
    g_object_unref(array);
    if (!read) return false;
    invocation->argumentText = writeArgumentText(pairs);
    return true;
}

}  // namespace veqpod_webkit
