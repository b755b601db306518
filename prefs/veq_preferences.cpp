#include "prefs/veq_preferences.h"

#include <utility>

#include "platform/file_io.h"
#include "prefs/preference_limits.h"
#include "runtime/log.h"
#include "runtime/paths.h"

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

bool VEQPreferences::withinLimits(const std::string& key, const std::string& value) const {
    const auto refuse = [&key](const char* why, size_t limit, const char* unit) {
        XLoop::logDebug("Preference \"%s\" not stored: %s %u %s", XLoop::printableKey(key).c_str(), why,
                        static_cast<unsigned>(limit), unit);
        return false;
    };
    if (key.size() > XLoop::kMaxPreferenceKeyBytes) {
        return refuse("its key is longer than", XLoop::kMaxPreferenceKeyBytes, "bytes");
    }
    if (value.size() > XLoop::kMaxPreferenceValueBytes) {
        return refuse("its value is longer than", XLoop::kMaxPreferenceValueBytes, "bytes");
    }
    if (preferences.find(key) == nullptr && preferences.count() >= XLoop::kMaxPreferenceEntries) {
        return refuse("the store holds", XLoop::kMaxPreferenceEntries, "entries already");
    }
    const size_t fileBytes = preferences.documentBytesWith(key, value);
    if (fileBytes > XLoop::kMaxPreferencesFileBytes) {
        return refuse("the file would grow past", XLoop::kMaxPreferencesFileBytes, "bytes");
    }
    return true;
}

VEQPreferences::VEQPreferences(std::string userDataPathText, std::string localeText)
    : userDataPath(std::move(userDataPathText)), locale(std::move(localeText)) {
    const std::string ownFolder = XLoop::appendPath(userDataPath.c_str(), "VEQ");
    createPreferencesFolder(ownFolder);
    const std::string localeFolder = XLoop::appendPath(ownFolder.c_str(), locale.c_str());
    createPreferencesFolder(localeFolder);
    filePath = XLoop::appendPath(localeFolder.c_str(), "VEQPrefs.xml");
}

VEQPreferences::VEQPreferences(InMemoryOnly, std::string localeText) : locale(std::move(localeText)) {}

VEQPreferences::~VEQPreferences() = default;

void VEQPreferences::setPreference(const char* key, const char* value) {
    std::lock_guard<std::recursive_mutex> guard(storeLock);
    const std::string keyText = textOrEmpty(key);
    std::string valueText = textOrEmpty(value);
    if (!withinLimits(keyText, valueText)) return;
    preferences.set(keyText, std::move(valueText));
    savePreferences();
}

std::string VEQPreferences::getPreference(const char* key, const char* defaultValue) {
    std::lock_guard<std::recursive_mutex> guard(storeLock);
    const std::string keyText = textOrEmpty(key);
    if (const std::string* found = preferences.find(keyText)) return *found;
    // A default the store cannot take is still the answer, just not kept.
    if (!withinLimits(keyText, textOrEmpty(defaultValue))) return textOrEmpty(defaultValue);
    setPreference(key, defaultValue);
    const std::string* stored = preferences.find(keyText);
    return stored != nullptr ? *stored : textOrEmpty(defaultValue);
}

bool VEQPreferences::hasPreference(const char* key) {
    std::lock_guard<std::recursive_mutex> guard(storeLock);
    return preferences.find(textOrEmpty(key)) != nullptr;
}

std::map<std::string, std::string> VEQPreferences::getAllPreferences() {
    std::lock_guard<std::recursive_mutex> guard(storeLock);
    return preferences.all();
}

}  // namespace VEQ
