#include "page/last_viewed_card_action_handler.h"

#include "base/nullable_text.h"
#include "page/action_arguments.h"
#include "page/action_support.h"
#include "page/argument_names.h"
#include "prefs/host_keys.h"
#include "prefs/preference_limits.h"
#include "prefs/preference_stores.h"
#include "prefs/preferences_document.h"
#include "runtime/log.h"

namespace VEQ {

XLoopWriteLastViewedCardIDActionHandler::XLoopWriteLastViewedCardIDActionHandler(std::string userDataPath,
                                                                                 std::string locale)
    : userDataPath(std::move(userDataPath)), locale(std::move(locale)) {}

void XLoopWriteLastViewedCardIDActionHandler::handleAction(const char* actionName, const char* argumentsJson,
                                                           char** result) {
    XLoop::serveAction(result, [&] {
        const std::string action = XLoop::textOrEmpty(actionName);
        if (action == "writeLastViewedCardID") {
            const std::optional<XLoop::ScriptObject> arguments = XLoop::readActionArguments(action, argumentsJson);
            if (arguments && XLoop::argumentsNamed(action, *arguments, {"key", "value"})) {
                const std::string& key = arguments->at("key");
                const std::string& value = arguments->at("value");
                XLoop::logDebug("Got Last viewed cardID from server: (%s = %s)", XLoop::LoggedText(key).c_str(),
                                XLoop::LoggedText(value).c_str());
                if (XLoop::isHostKey(key)) {
                    XLoop::logDebug("Refused writeLastViewedCardID of %s: the key belongs to the host",
                                    XLoop::LoggedText(key).c_str());
                } else {
                    std::lock_guard<std::mutex> guard(pendingLock);
                    keepPending(key, value);
                }
            }
            flushPendingValuesOnceVisited();
        }
        return XLoop::ScriptObject();
    });
}

void XLoopWriteLastViewedCardIDActionHandler::keepPending(const std::string& key, const std::string& value) {
    const char* reason = nullptr;
    auto held = pendingValues.find(key);
    const size_t heldBytes = held != pendingValues.end() ? key.size() + held->second.size() : 0;
    if (key.size() > XLoop::kMaxPreferenceKeyBytes) {
        reason = "its key is longer than the store takes";
    } else if (value.size() > XLoop::kMaxPreferenceValueBytes) {
        reason = "its value is longer than the store takes";
    } else if (held == pendingValues.end() && pendingValues.size() >= XLoop::kMaxPagePreferenceEntries) {
        reason = "as many pairs as the page may store wait already";
    } else if (pendingBytes - heldBytes + key.size() + value.size() > XLoop::kMaxPagePreferenceBytes) {
        reason = "the pairs waiting would outgrow the page's share of the store";
    }
    if (reason != nullptr) {
        XLoop::logDebug("Refused writeLastViewedCardID of %s: %s", XLoop::printableKey(key).c_str(), reason);
        return;
    }
    pendingBytes = pendingBytes - heldBytes + key.size() + value.size();
    pendingValues[key] = value;
}

bool XLoopWriteLastViewedCardIDActionHandler::markRoomVisited() {
    std::lock_guard<std::mutex> guard(pendingLock);
    if (roomVisited) return false;
    roomVisited = true;
    return true;
}

void XLoopWriteLastViewedCardIDActionHandler::flushPendingValuesOnceVisited() {
    std::lock_guard<std::mutex> guard(pendingLock);
    if (roomVisited) writePendingValues();
}

void XLoopWriteLastViewedCardIDActionHandler::flushPendingValues() {
    std::lock_guard<std::mutex> guard(pendingLock);
    writePendingValues();
}

void XLoopWriteLastViewedCardIDActionHandler::writePendingValues() {
    if (pendingValues.empty()) return;
    writePagePreferences(getPreferenceStore(userDataPath, locale).get(), pendingValues);
    pendingValues.clear();
    pendingBytes = 0;
}

}  // namespace VEQ
