#include "pods/common/bridge_script.h"

#include <cstdio>

namespace veqpod {
namespace {

// pageKey is written as in owned_pages.h, from the engine's own reading of
// the document's location.
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

// window.veq.invoke sends the action name and the arguments as the JSON text
// of an object of texts (other values as their own JSON text) to the bridge's
// half, and the reply object text comes back. Only texts cross between the
// worlds, as events on the top document, with an id per call. The object of
// texts has no prototype, so a key like "__proto__" stays an ordinary key.
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
  // where the engine says it was thrown; a place in the library's own
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

// Whatever the page sends is taken as text and checked for its shape.
const char kBridgeHalf[] = R"js(
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
    post({ name: call.name, args: call.args }).then(
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
    post({ scriptError: String(error?.message).slice(0, 65536),
           file: String(error?.file ?? "").slice(0, 4096),
           line: count(error?.line), column: count(error?.column) }).catch(() => {});
  });
)js";

std::string halfScript(const std::set<std::string>& ownedPages, const std::string& half) {
    std::string list;
    for (const std::string& page : ownedPages) list += (list.empty() ? "" : ",") + quoted(page);
    return "(() => {\n  const ownedPages = [" + list + "];" + kOwnedPageCheck + half + "})();";
}

}  // namespace

std::string pageHalfScript(const std::set<std::string>& ownedPages) {
    return halfScript(ownedPages, kPageHalf);
}

std::string bridgeHalfScript(const std::set<std::string>& ownedPages, const std::string& post) {
    return halfScript(ownedPages, "  const post = " + post + ";" + kBridgeHalf);
}

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

}  // namespace veqpod
