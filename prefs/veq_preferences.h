// A persistent map of UTF-8 keys to UTF-8 values, one per user-data folder
// and locale, mirrored in <userDataPath>/VEQ/<locale>/VEQPrefs.xml.
#pragma once

#include <map>
#include <mutex>
#include <set>
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

    // The room page's writes and the defaults of its reads, held to the
    // page's share of the store (preference_limits.h) so that the host's own
    // entries always fit. The entries are saved together, in one write.
    void setPagePreferences(const std::map<std::string, std::string>& entries);
    std::string getPagePreference(const char* key, const char* defaultValue);

protected:
    // Creates the store's two folder levels under userDataPath, one at a time;
    // when they cannot be made the store lives in memory and every save fails.
    VEQPreferences(std::string userDataPath, std::string locale);
    // No folder, no file: filePath stays empty.
    struct InMemoryOnly {};
    VEQPreferences(InMemoryOnly, std::string locale);

    enum class Writer { Host, Page };
    // Logs why the entry would take the store past its limits, or past the
    // page's share of it.
    bool withinLimits(const std::string& key, const std::string& value, Writer writer) const;

    // While the file could not be read (no descriptor left, no access, a
    // file another process holds), the store lives in memory, saves nothing
    // over the file, and every operation first tries the load again.
    void loadAgainIfUnread();
    bool fileUnread = false;

    // Sets the entry and remembers that this store changed it, so that an
    // entry another process saved meanwhile never replaces it.
    void setEntry(const std::string& key, std::string value);
    // Takes in what the file holds, but for the entries this store changed
    // since it last read or wrote the file.
    void takeFileEntries(std::map<std::string, std::string>& fileEntries);
    std::set<std::string> changedSinceFileRead;

    // Recursive: a read of a missing key stores its default through the
    // virtual setPreference.
    mutable std::recursive_mutex storeLock;
    std::string filePath;
    XLoop::PreferenceEntries preferences;
    std::string userDataPath;
    std::string locale;
};

}  // namespace VEQ
