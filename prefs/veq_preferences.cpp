#include "prefs/veq_preferences.h"

#include <utility>

#include "platform/error_text.h"
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
        XLoop::logDebug("Could not create the preferences folder %s: %s failed with error %d (%s)", folder.c_str(),
                        created.step, created.code, XLoop::platform::systemErrorText(created.code).c_str());
    }
}

}  // namespace

bool VEQPreferences::withinLimits(const std::string& key, const std::string& value, Writer writer) const {
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
    if (preferences.heldBytesWith(key, value) > XLoop::kMaxPreferencesFileBytes) {
        return refuse("the store would grow past", XLoop::kMaxPreferencesFileBytes, "bytes");
    }
    if (writer == Writer::Host) return true;
    if (preferences.find(key) == nullptr && preferences.pageEntryCount() >= XLoop::kMaxPagePreferenceEntries) {
        return refuse("the page's entries number", XLoop::kMaxPagePreferenceEntries, "already");
    }
    if (preferences.pageBytesWith(key, value) > XLoop::kMaxPagePreferenceBytes) {
        return refuse("the page's entries would grow past", XLoop::kMaxPagePreferenceBytes, "bytes");
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

void VEQPreferences::setEntry(const std::string& key, std::string value) {
    preferences.set(key, std::move(value));
    changedSinceFileRead.insert(key);
}

void VEQPreferences::takeFileEntries(std::map<std::string, std::string>& fileEntries) {
    for (auto& [key, value] : fileEntries) {
        if (changedSinceFileRead.count(key) == 0) preferences.set(key, std::move(value));
    }
}

void VEQPreferences::loadAgainIfUnread() {
    if (fileUnread) loadPreferences();
}

void VEQPreferences::setPreference(const char* key, const char* value) {
    std::lock_guard<std::recursive_mutex> guard(storeLock);
    loadAgainIfUnread();
    const std::string keyText = textOrEmpty(key);
    std::string valueText = textOrEmpty(value);
    if (!withinLimits(keyText, valueText, Writer::Host)) return;
    setEntry(keyText, std::move(valueText));
    savePreferences();
}

std::string VEQPreferences::getPreference(const char* key, const char* defaultValue) {
    std::lock_guard<std::recursive_mutex> guard(storeLock);
    loadAgainIfUnread();
    const std::string keyText = textOrEmpty(key);
    if (const std::string* found = preferences.find(keyText)) return *found;
    // A default the store cannot take is still the answer, just not kept.
    if (!withinLimits(keyText, textOrEmpty(defaultValue), Writer::Host)) return textOrEmpty(defaultValue);
    setPreference(key, defaultValue);
    const std::string* stored = preferences.find(keyText);
    return stored != nullptr ? *stored : textOrEmpty(defaultValue);
}

void VEQPreferences::setPagePreferences(const std::map<std::string, std::string>& entries) {
    std::lock_guard<std::recursive_mutex> guard(storeLock);
    loadAgainIfUnread();
    bool changed = false;
    for (const auto& [key, value] : entries) {
        if (!withinLimits(key, value, Writer::Page)) continue;
        setEntry(key, value);
        changed = true;
    }
    if (changed) savePreferences();
}

std::string VEQPreferences::getPagePreference(const char* key, const char* defaultValue) {
    std::lock_guard<std::recursive_mutex> guard(storeLock);
    loadAgainIfUnread();
    const std::string keyText = textOrEmpty(key);
    if (const std::string* found = preferences.find(keyText)) return *found;
    const std::string defaultText = textOrEmpty(defaultValue);
    if (withinLimits(keyText, defaultText, Writer::Page)) {
        setEntry(keyText, defaultText);
        savePreferences();
    }
    return defaultText;
}

bool VEQPreferences::hasPreference(const char* key) {
    std::lock_guard<std::recursive_mutex> guard(storeLock);
    loadAgainIfUnread();
    return preferences.find(textOrEmpty(key)) != nullptr;
}

std::map<std::string, std::string> VEQPreferences::getAllPreferences() {
    std::lock_guard<std::recursive_mutex> guard(storeLock);
    loadAgainIfUnread();
    return preferences.all();
}

}  // namespace VEQ
