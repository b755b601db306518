#include "prefs/preference_stores.h"

#include <mutex>

#include "platform/file_names.h"
#include "platform/file_system.h"
#include "prefs/memory_preferences.h"
#include "prefs/platform_preferences.h"
#include "prefs/store_locale.h"
#include "runtime/log.h"

namespace VEQ {

std::map<std::pair<std::string, std::string>, std::shared_ptr<VEQPreferences>, PreferenceStoreKeyLess>
    g_preferenceStores;

bool PreferenceStoreKeyLess::operator()(const std::pair<std::string, std::string>& a,
                                        const std::pair<std::string, std::string>& b) const {
    int folderOrder = XLoop::platform::compareFileNames(a.first, b.first);
    if (folderOrder != 0) return folderOrder < 0;
    return XLoop::platform::compareFileNames(a.second, b.second) < 0;
}

namespace {

// The page's actions may come on the browser library's own threads.
std::mutex g_preferenceStoresLock;

// One folder however it is spelled: either separator on Windows, repeated
// and trailing separators and "." segments name no other folder. ".." is
// kept: through a link it may lead somewhere else.
std::string folderKey(const std::string& folder) {
    using XLoop::platform::isPathSeparator;
    std::string key;
    size_t at = 0;
    // A leading separator, or two (a network share), stays.
    for (; at < folder.size() && at < 2 && isPathSeparator(folder[at]); ++at) key += '/';
    bool first = true;
    while (at < folder.size()) {
        size_t end = at;
        while (end < folder.size() && !isPathSeparator(folder[end])) ++end;
        const std::string segment = folder.substr(at, end - at);
        if (!segment.empty() && segment != ".") {
            if (!first) key += '/';
            key += segment;
            first = false;
        }
        at = end + 1;
    }
    return key;
}

// An existing folder is keyed by the path the system resolves it to, so that
// links, short names and other spellings the system accepts name one store.
std::string storeFolderKey(const std::string& folder) {
    const std::string resolved = XLoop::platform::resolvedFolderPath(folder);
    return resolved.empty() ? folderKey(folder) : resolved;
}

}  // namespace

std::shared_ptr<VEQPreferences> getPreferenceStore(std::string userDataPath, std::string locale) {
    if (userDataPath.empty() || locale.empty()) return nullptr;
    std::lock_guard<std::mutex> guard(g_preferenceStoresLock);
    auto key = std::make_pair(storeFolderKey(userDataPath), locale);
    auto found = g_preferenceStores.find(key);
    if (found != g_preferenceStores.end()) return found->second;
    std::shared_ptr<VEQPreferences> store;
    if (isPlainLocaleName(locale)) {
        // The first spelling names the folder.
        store = std::make_shared<PlatformPreferences>(userDataPath, locale);
        store->loadPreferences();
    } else {
        XLoop::logDebug("Preferences kept in memory only: the locale %s is not a plain name", locale.c_str());
        store = std::make_shared<MemoryPreferences>(locale);
    }
    g_preferenceStores.emplace(std::move(key), store);
    return store;
}

std::string readPreference(VEQPreferences* store, const char* key, const char* defaultValue) {
    if (store != nullptr) return store->getPreference(key, defaultValue);
    return defaultValue != nullptr ? defaultValue : "";
}

void writePreference(VEQPreferences* store, const char* key, const char* value) {
    if (store != nullptr) store->setPreference(key, value);
}

std::string readPagePreference(VEQPreferences* store, const char* key, const char* defaultValue) {
    if (store != nullptr) return store->getPagePreference(key, defaultValue);
    return defaultValue != nullptr ? defaultValue : "";
}

void writePagePreferences(VEQPreferences* store, const std::map<std::string, std::string>& entries) {
    if (store != nullptr) store->setPagePreferences(entries);
}

}  // namespace VEQ
