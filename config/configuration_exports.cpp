// The exports that resolve the room's configuration for the host.
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "base/ascii.h"
#include "base/nullable_text.h"
#include "config/config_file.h"
#include "config/configuration_record.h"
#include "config/paths.h"
#include "config/remote_config.h"
#include "host/boundary.h"
#include "host/dispatcher.h"
#include "host/log.h"
#include "host/module_state.h"
#include "host/ui_thread.h"
#include "prefs/preference_stores.h"
#include "xloop/xloop_client.h"

using namespace XLoop;

namespace {

// Keeps caches from answering with an old room page: the seconds since the
// epoch, after "?" or, when the URL has a query already, "&".
std::string withCacheBustingSuffix(const std::string& url) {
    const long long now = static_cast<long long>(std::time(nullptr));
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%c%d", url.find('?') != std::string::npos ? '&' : '?',
                  static_cast<int>(now % 2147483647));
    return url + suffix;
}

struct Values {
    std::string killswitch = "on";
    std::string url;
    std::string serverurl;
};

bool storeHoldsEveryValue(VEQ::VEQPreferences* store) {
    return store != nullptr && store->hasPreference("killswitch") && store->hasPreference("url") &&
           store->hasPreference("serverurl");
}

void scheduleServerFetch(const VEQConfiguration& record, const std::string& userDataPath,
                         const std::string& storeLocale) {
    logDebug("Scheduled config fetch task from server...");
    g_configWorkerDispatcher = createWorkerThreadDispatcher();
    // With the room switched off, the UI-thread queue goes once fresh values are stored.
    RefPtr<Task> followUp;
    if (record.killSwitch) followUp = makeRef<MainThreadDispatcherReleaseTask>();
    auto update = makeRef<UpdateXLoopConfigTask>(std::move(followUp));
    auto fetch = makeRef<FetchXloopServerConfigTask>(record.configURL, record.product, record.version,
                                                     record.locale, userDataPath, storeLocale, update);
    g_configUpdateTask = update;
    g_configFetchTask = fetch;
    g_configWorkerDispatcher->post(fetch.get());
}

}  // namespace

extern "C" VEQConfiguration* GetVEQConfiguration(const char* defaultConfigPath, const char* configURL,
                                                 const char* product, const char* version,
                                                 const char* locale, const char* userDataPath,
                                                 const char* hostValue, const char* installationType,
                                                 const char* offlinePagePath, bool isMASBuild,
                                                 bool isWASBuild) {
    return guardBoundary("GetVEQConfiguration", nullptr, [&]() -> VEQConfiguration* {
        XLOOP_ASSERT_UI_THREAD();
        // An earlier call's fetch and its follow-up must not act on what this
        // call decides, whether or not this call fetches again.
        stopConfigurationWork();
        const std::string userData = textOrEmpty(userDataPath);
        const std::string storeLocale = textOrEmpty(locale);
        std::string configPath = textOrEmpty(defaultConfigPath);
        std::string recordConfigURL = textOrEmpty(configURL);

        // Without a user-data folder the override's path would be taken from the
        // current folder, where a stray file must not win over everything.
        bool overridePresent = false;
        if (!userData.empty()) {
            const std::string overridePath = appendPath(userData.c_str(), "VEQConfig.xml");
            const std::string overrideURL = fileURLFromPath(overridePath.c_str());
            if (!overrideURL.empty()) {
                overridePresent = true;
                logDebug("Settings Override file is present at: %s", overrideURL.c_str());
                configPath = overridePath;
                recordConfigURL = overrideURL;
            }
        }
        const std::string lowerLocale = lowerAscii(storeLocale);
        auto store = VEQ::getPreferenceStore(userData, storeLocale);
        // An empty path would name the current folder.
        const std::string fileURL = configPath.empty() ? "" : fileURLFromPath(configPath.c_str());

        Values values;
        logDebug("Default configuration file URL is: %s, path is %s", fileURL.c_str(), configPath.c_str());
        if (!overridePresent && storeHoldsEveryValue(store.get())) {
            values.killswitch = store->getPreference("killswitch", "on");
            values.url = store->getPreference("url", "");
            values.serverurl = store->getPreference("serverurl", "");
            logDebug("Reading settings existing preference: %s %s %s", values.killswitch.c_str(),
                     values.url.c_str(), values.serverurl.c_str());
        } else if (!fileURL.empty()) {
            platform::HttpCancellation never;
            if (readConfigFile(fileURL.c_str(), textOrEmpty(product).c_str(), textOrEmpty(version).c_str(),
                               lowerLocale.c_str(), values.killswitch, values.url, values.serverurl, never)) {
                applyConfigParameters(values.killswitch.c_str(), values.url.c_str(), values.serverurl.c_str(),
                                      userData.c_str(), storeLocale.c_str());
                logDebug("Reading settings default config: %s %s %s", values.killswitch.c_str(),
                         values.url.c_str(), values.serverurl.c_str());
            } else {
                logDebug("Failed to read settings from default config");
            }
        } else {
            logDebug("Default config file path is invalid");
        }
        logDebug("Parameters: Kill Switch is %s and URL is %s and ServerURL is %s", values.killswitch.c_str(),
                 values.url.c_str(), values.serverurl.c_str());

        VEQConfiguration* record = newConfigurationRecord();
        if (record == nullptr) return nullptr;
        record->configURL = recordText(recordConfigURL);
        record->url = recordText(withCacheBustingSuffix(values.url));
        record->serverURL = recordText(values.serverurl);
        record->killSwitch = values.killswitch == "on";
        record->product = recordText(textOrEmpty(product));
        record->version = recordText(textOrEmpty(version));
        record->locale = recordText(lowerLocale);
        record->userDataPath = recordText(userData);
        record->hostValue = recordText(hostValue);
        record->installationType = recordText(installationType);
        record->offlinePageURL =
            offlinePagePath != nullptr && offlinePagePath[0] != 0 ? recordText(fileURLFromPath(offlinePagePath))
                                                                  : nullptr;
        record->isMASBuild = isMASBuild;
        record->isWASBuild = isWASBuild;

        if (!overridePresent) scheduleServerFetch(*record, userData, storeLocale);
        return record;
    });
}

extern "C" VEQConfiguration* ModifyVEQConfiguration(VEQConfiguration* config, const char* installationType) {
    return guardBoundary("ModifyVEQConfiguration", config, [&]() -> VEQConfiguration* {
        XLOOP_ASSERT_UI_THREAD();
        if (config == nullptr || installationType == nullptr) return config;
        if (config->installationType != nullptr && std::strcmp(config->installationType, installationType) == 0) {
            return config;
        }
        // The old text is the module's, from this record's allocator; a host that
        // puts a text of its own here makes it the same way (see the header).
        releaseRecordText(config->installationType);
        config->installationType = recordText(installationType);
        return config;
    });
}

extern "C" void FreeVEQConfiguration(VEQConfiguration* config) {
    guardBoundary("FreeVEQConfiguration", [&] {
        releaseConfigurationRecord(config);
    });
}
