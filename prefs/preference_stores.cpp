#include "prefs/preference_stores.h"

#include <mutex>

#include "platform/file_names.h"
#include "prefs/platform_preferences.h"

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

}  // namespace

std::shared_ptr<VEQPreferences> getPreferenceStore(std::string userDataPath, std::string locale) {
    if (userDataPath.empty() || locale.empty()) return nullptr;
    std::lock_guard<std::mutex> guard(g_preferenceStoresLock);
    auto key = std::make_pair(std::move(userDataPath), std::move(locale));
    auto found = g_preferenceStores.find(key);
    if (found != g_preferenceStores.end()) return found->second;
    auto store = std::make_shared<PlatformPreferences>(key.first, key.second);
    store->loadPreferences();
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

}  // namespace VEQ
