#include "page/last_viewed_card_action_handler.h"

#include "base/nullable_text.h"
#include "page/action_support.h"
#include "page/host_keys.h"
#include "prefs/preference_stores.h"
#include "runtime/log.h"

namespace VEQ {

XLoopWriteLastViewedCardIDActionHandler::XLoopWriteLastViewedCardIDActionHandler(std::string userDataPath,
                                                                                 std::string locale)
    : userDataPath(std::move(userDataPath)), locale(std::move(locale)) {}

void XLoopWriteLastViewedCardIDActionHandler::handleAction(const char* actionName, const char* argumentsJson,
                                                           char** result) {
    XLoop::serveAction(result, [&] {
        if (XLoop::textOrEmpty(actionName) == "writeLastViewedCardID") {
            const XLoop::ScriptObject arguments = XLoop::parseActionArguments(XLoop::textOrEmpty(argumentsJson));
            const std::string* key = XLoop::argumentValue(arguments, "key");
            const std::string* value = XLoop::argumentValue(arguments, "value");
            if (key != nullptr && value != nullptr) {
                XLoop::logDebug("Got Last viewed cardID from server: (%s = %s)", key->c_str(), value->c_str());
                if (XLoop::isHostKey(*key)) {
                    XLoop::logDebug("Refused writeLastViewedCardID of %s: the key belongs to the host", key->c_str());
                } else {
                    std::lock_guard<std::mutex> guard(pendingLock);
                    pendingValues[*key] = *value;
                }
            }
            flushPendingValuesOnceVisited();
        }
        return XLoop::ScriptObject();
    });
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
    std::shared_ptr<VEQPreferences> store = getPreferenceStore(userDataPath, locale);
    for (const auto& [key, value] : pendingValues) writePreference(store.get(), key.c_str(), value.c_str());
    pendingValues.clear();
}

}  // namespace VEQ
