#include "page/xloop_action_handler.h"

#include "base/nullable_text.h"
#include "page/action_arguments.h"
#include "page/action_support.h"
#include "page/argument_names.h"
#include "page/uri_opening.h"
#include "prefs/host_keys.h"
#include "prefs/preference_stores.h"
#include "runtime/log.h"

using XLoop::argumentValue;
using XLoop::LoggedText;
using XLoop::logDebug;

namespace VEQ {

XloopActionHandler::XloopActionHandler(std::string userDataPath, std::string locale)
    : userDataPath(std::move(userDataPath)), locale(std::move(locale)) {}

void XloopActionHandler::handleAction(const char* actionName, const char* argumentsJson, char** result) {
    XLoop::serveAction(result, [&] {
        const std::string action = XLoop::textOrEmpty(actionName);
        std::optional<XLoop::ScriptObject> read = XLoop::readActionArguments(action, argumentsJson);
        if (!read) return XLoop::ScriptObject();
        XLoop::ScriptObject& arguments = *read;
        XLoop::ScriptObject reply;

        // Each branch runs only with the names it needs; argumentsNamed logs what is missing.
        if (action == "writePreference" && XLoop::argumentsNamed(action, arguments, {"key", "value"})) {
            const std::string& key = arguments.at("key");
            std::string& value = arguments.at("value");
            logDebug("Got action %s (%s=%s)", action.c_str(), LoggedText(key).c_str(), LoggedText(value).c_str());
            if (XLoop::isHostKey(key)) {
                logDebug("Refused writePreference of %s: the key belongs to the host", LoggedText(key).c_str());
            } else {
                std::map<std::string, std::string> entry;
                entry.emplace(key, std::move(value));  // a value of megabytes is not copied
                writePagePreferences(getPreferenceStore(userDataPath, locale).get(), entry);
            }
        } else if (action == "openURI" && XLoop::argumentsNamed(action, arguments, {"uri"})) {
            const std::string& uri = arguments.at("uri");
            if (!uri.empty()) {
                logDebug("Got action %s (%s)", action.c_str(), LoggedText(uri).c_str());
                XLoop::openURIFromPage(uri, linkBudget);
            }
        } else if (action == "readPreference" && XLoop::argumentsNamed(action, arguments, {"key"}, {"defaultValue"})) {
            const std::string& key = arguments.at("key");
            const std::string* defaultValue = argumentValue(arguments, "defaultValue");
            const std::string fallback = defaultValue != nullptr ? *defaultValue : std::string();
            std::shared_ptr<VEQPreferences> store = getPreferenceStore(userDataPath, locale);
            std::string value;
            if (XLoop::isHostKey(key) && store != nullptr && !store->hasPreference(key.c_str())) {
                // The page reads the default but does not get to store it.
                logDebug("Refused to store the default of %s: the key belongs to the host", key.c_str());
                value = fallback;
            } else {
                value = readPagePreference(store.get(), key.c_str(), fallback.c_str());
            }
            reply[key] = value;
            logDebug("Got action %s (%s=%s)", action.c_str(), LoggedText(key).c_str(), LoggedText(value).c_str());
        } else if (action == "writeLog" && XLoop::argumentsNamed(action, arguments, {"msg"})) {
            logDebug("%s", LoggedText(arguments.at("msg")).c_str());
        }
        return reply;
    });
}

}  // namespace VEQ
