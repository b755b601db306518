// The module's preference stores: one per user-data folder and locale.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "prefs/veq_preferences.h"

namespace VEQ {

// Orders (userDataPath, locale) pairs the way the file system compares the
// folders they name, so pairs that reach one file share one store: ignoring
// case on Windows, byte by byte elsewhere.
struct PreferenceStoreKeyLess {
    bool operator()(const std::pair<std::string, std::string>& a,
                    const std::pair<std::string, std::string>& b) const;
};

// Filled by getPreferenceStore, under a lock of its own, emptied only when
// the module unloads.
extern std::map<std::pair<std::string, std::string>, std::shared_ptr<VEQPreferences>, PreferenceStoreKeyLess>
    g_preferenceStores;

// The store of the pair, made and loaded from its file on the first request;
// the first request's spelling names its folder. No store (null) when either
// text is empty.
std::shared_ptr<VEQPreferences> getPreferenceStore(std::string userDataPath, std::string locale);

// Reading and writing through a store that may be missing: without one, a
// read gives the default and a write does nothing.
std::string readPreference(VEQPreferences* store, const char* key, const char* defaultValue);
void writePreference(VEQPreferences* store, const char* key, const char* value);
// The same for the room page, within its share of the store.
std::string readPagePreference(VEQPreferences* store, const char* key, const char* defaultValue);
void writePagePreferences(VEQPreferences* store, const std::map<std::string, std::string>& entries);

}  // namespace VEQ
