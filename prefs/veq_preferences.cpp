#include "prefs/veq_preferences.h"

#include <utility>

#include "config/paths.h"
#include "host/log.h"
#include "platform/file_io.h"

namespace VEQ {
namespace {

std::string textOrEmpty(const char* text) {
    return text != nullptr ? text : "";
}

void createPreferencesFolder(const std::string& folder) {
    XLoop::platform::StepResult created = XLoop::platform::createFolder(folder);
    if (!created.ok) {
        XLoop::logDebug("Could not create the preferences folder: %s failed with error %d", created.step,
                        created.code);
    }
}

}  // namespace

VEQPreferences::VEQPreferences(std::string userDataPathText, std::string localeText)
    : userDataPath(std::move(userDataPathText)), locale(std::move(localeText)) {
    const std::string ownFolder = XLoop::appendPath(userDataPath.c_str(), "VEQ");
    createPreferencesFolder(ownFolder);
    const std::string localeFolder = XLoop::appendPath(ownFolder.c_str(), locale.c_str());
    createPreferencesFolder(localeFolder);
    filePath = XLoop::appendPath(localeFolder.c_str(), "VEQPrefs.xml");
}

VEQPreferences::~VEQPreferences() = default;

void VEQPreferences::setPreference(const char* key, const char* value) {
    preferences[textOrEmpty(key)] = textOrEmpty(value);
    savePreferences();
}

std::string VEQPreferences::getPreference(const char* key, const char* defaultValue) {
    const std::string keyText = textOrEmpty(key);
    if (preferences.find(keyText) == preferences.end()) setPreference(key, defaultValue);
    return preferences[keyText];
}

bool VEQPreferences::hasPreference(const char* key) {
    return preferences.count(textOrEmpty(key)) != 0;
}

std::map<std::string, std::string> VEQPreferences::getAllPreferences() {
    return preferences;
}

}  // namespace VEQ
