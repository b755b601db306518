#include "pods/webkitgtk/page_bridge.h"

#include <cstdio>

namespace veqpod_webkit {
namespace {

// Both halves of the bridge start with this check, against the page the
// document really is before any of its own scripts ran. pageKey is written
// as its namesake in owned_pages.h.
const char kOwnedPageCheck[] = R"js(
  const pageKey = ({ protocol, hostname, port, pathname }) => {
    if (protocol === "http:" || protocol === "https:") {
      return `${protocol}//${hostname}:${port || (protocol === "http:" ? "80" : "443")}`;
    }
    if (protocol !== "file:") return "";
    try {
      return "file://" + decodeURIComponent(pathname);
    } catch {
      return "";
    }
  };
  if (!ownedPages.includes(pageKey(location))) return;
)js";

// The page's half, in its own world: window.veq.invoke sends the action name
// and the arguments as the JSON text of an object of texts (other values as
// their own JSON text) to the bridge's half, and the reply object text comes
// back. Only texts cross between the worlds, as events on the top document,
// with an id per call. The object of texts has no prototype, so a key like
// "__proto__" stays an ordinary key.
const char kPageHalf[] = R"js(
  const pending = new Map();
  let lastCall = 0;
  document.addEventListener("veq-reply", (event) => {
    const reply = JSON.parse(event.detail);
    const call = pending.get(reply.id);
    if (call === undefined) return;
    pending.delete(reply.id);
    if (typeof reply.error === "string") call.reject(new Error(reply.error));
    else call.resolve(reply.value);
  });
  const asText = (value) => (typeof value === "string" ? value : JSON.stringify(value));
  window.veq = Object.freeze({
    invoke(name, args) {
      const texts = Object.create(null);
      for (const [key, value] of Object.entries(args ?? {})) {
        const text = asText(value);
        if (text !== undefined) texts[key] = text;
      }
      const id = ++lastCall;
      const call = JSON.stringify({ id, name: String(name), args: JSON.stringify(texts) });
      return new Promise((resolve, reject) => {
        pending.set(id, { resolve, reject });
        document.dispatchEvent(new CustomEvent("veq-invoke", { detail: call }));
      }).then((reply) => JSON.parse(reply));
    },
  });
  // A promise the page let fail unheard (an async function the owner
  // called, a refused call nobody caught) goes to the library too, with
  // where JavaScriptCore says it was thrown; a place in the library's own
  // scripts is none of the page's. Errors thrown at once reach the caller
  // of the script; window's error event would tell them twice.
  const reportError = (message, file, line, column) => document.dispatchEvent(new CustomEvent(
    "veq-script-error", { detail: JSON.stringify({ message, file, line, column }) }));
  window.addEventListener("unhandledrejection", (event) => {
    const reason = event.reason;
    if (reason instanceof Error) {
      const file = String(reason.sourceURL ?? "");
      const own = file.startsWith("user-script:");
      reportError(`Unhandled rejection: ${reason.name}: ${reason.message}`, own ? "" : file,
                  own ? 0 : reason.line, own ? 0 : reason.column);
    } else {
      let text = "";
      try { text = String(reason); } catch {}
      reportError(`Unhandled rejection: ${text}`, "", 0, 0);
    }
  });
)js";

// The bridge's half, in the library's world, the only one with the channel.
// Whatever the page sends is taken as text and checked for its shape.
const char kBridgeHalf[] = R"js(
  const channel = window.webkit.messageHandlers.veq;
  const answer = (id, outcome) => document.dispatchEvent(
    new CustomEvent("veq-reply", { detail: JSON.stringify({ id, ...outcome }) }));
  document.addEventListener("veq-invoke", (event) => {
    if (typeof event.detail !== "string") return;
    let call;
    try {
      call = JSON.parse(event.detail);
    } catch {
      return;
    }
    if (!Number.isSafeInteger(call?.id) || typeof call.name !== "string" ||
        typeof call.args !== "string") {
      return;
    }
    channel.postMessage({ name: call.name, args: call.args }).then(
      (value) => answer(call.id, { value }),
      (error) => answer(call.id, { error: error instanceof Error ? error.message : `${error}` }));
  });
  const count = (value) => (Number.isSafeInteger(value) && value > 0 ? value : 0);
  document.addEventListener("veq-script-error", (event) => {
    if (typeof event.detail !== "string") return;
    let error;
    try {
      error = JSON.parse(event.detail);
    } catch {
      return;
    }
    channel.postMessage({ scriptError: String(error?.message).slice(0, 65536),
                          file: String(error?.file ?? "").slice(0, 4096),
                          line: count(error?.line), column: count(error?.column) }).catch(() => {});
  });
)js";

// A JSON string, which is also a script string literal.
std::string quoted(const std::string& text) {
    std::string literal = "\"";
    for (unsigned char byte : text) {
        if (byte == '"' || byte == '\\') {
            literal += '\\';
            literal += static_cast<char>(byte);
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            literal += escape;
        } else {
            literal += static_cast<char>(byte);
        }
    }
    return literal + "\"";
}

std::string halfScript(const std::set<std::string>& ownedPages, const char* half) {
    std::string list;
    for (const std::string& page : ownedPages) list += (list.empty() ? "" : ",") + quoted(page);
    return "(() => {\n  const ownedPages = [" + list + "];" + kOwnedPageCheck + half + "})();";
}

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
    const std::string pageHalf = halfScript(ownedPages, kPageHalf);
    const std::string bridgeHalf = halfScript(ownedPages, kBridgeHalf);
    webkit_user_content_manager_remove_all_scripts(manager);
    addScript(manager, webkit_user_script_new(pageHalf.c_str(), frames, start, nullptr, nullptr));
    addScript(manager, webkit_user_script_new_for_world(bridgeHalf.c_str(), frames, start,
                                                        kBridgeWorld, nullptr, nullptr));
}

bool readPageScriptError(JSCValue* message, PageScriptError* error) {
    if (!jsc_value_is_object(message) || !readProperty(message, "scriptError", &error->message)) return false;
    readProperty(message, "file", &error->sourceUri);
    error->line = readCount(message, "line");
    error->column = readCount(message, "column");
    return true;
}

bool readInvocation(JSCValue* message, Invocation* invocation) {
    if (!jsc_value_is_object(message)) return false;
    return readProperty(message, "name", &invocation->actionName) &&
           readProperty(message, "args", &invocation->argumentText);
}

}  // namespace veqpod_webkit
