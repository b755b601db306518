// A persistent map of UTF-8 keys to UTF-8 values, one per user-data folder
// and locale, mirrored in <userDataPath>/VEQ/<locale>/VEQPrefs.xml.
#pragma once

#include <map>
#include <mutex>
#include <string>

#include "prefs/preferences_document.h"

namespace VEQ {

// Stores are made, loaded and handed out by getPreferenceStore only. The
// browser library may call the page's actions on a thread of its own, so
// every operation holds the store's lock, saves included.
class VEQPreferences {
public:
    VEQPreferences(const VEQPreferences&) = delete;
    VEQPreferences& operator=(const VEQPreferences&) = delete;

    // Sets the entry and saves the whole store. A null text counts as empty.
    // An entry past the store's limits (preference_limits.h) is refused with
    // one log line and changes nothing.
    virtual void setPreference(const char* key, const char* value);
    // The stored value; a missing key is first stored, and saved, with the
    // default, so later reads return it whatever default they pass. A
    // default past the limits is returned without being stored.
    virtual std::string getPreference(const char* key, const char* defaultValue);
    virtual bool hasPreference(const char* key);
    // Every entry, in byte order of key.
    virtual std::map<std::string, std::string> getAllPreferences();
    // Write the whole store to filePath and read filePath into the store. A
    // failure is logged; the values in memory stay as they are.
    virtual void savePreferences() = 0;
    virtual void loadPreferences() = 0;
    virtual ~VEQPreferences();

protected:
    // Creates the store's two folder levels under userDataPath, one at a time;
    // when they cannot be made the store lives in memory and every save fails.
    VEQPreferences(std::string userDataPath, std::string locale);
    // No folder, no file: filePath stays empty.
    struct InMemoryOnly {};
    VEQPreferences(InMemoryOnly, std::string locale);

    // Logs why the entry would take the store past its limits.
    bool withinLimits(const std::string& key, const std::string& value) const;

    // Recursive: a read of a missing key stores its default through the
    // virtual setPreference.
    mutable std::recursive_mutex storeLock;
    std::string filePath;
    XLoop::PreferenceEntries preferences;
    std::string userDataPath;
    std::string locale;
};

}  // namespace VEQ
