#include "config/configuration_resolution.h"

#include <cstdio>
#include <ctime>

#include "base/address_ambiguity.h"
#include "base/ascii.h"
#include "base/ui_thread.h"
#include "config/config_file.h"
#include "config/configuration_record.h"
#include "config/configuration_work.h"
#include "config/remote_config.h"
#include "config/section_rules.h"
#include "prefs/preference_stores.h"
#include "runtime/log.h"
#include "runtime/paths.h"

namespace XLoop {
namespace {

// The file the values are read from, and the configuration URL the record
// names.
struct ConfigurationSource {
    std::string path;
    std::string recordConfigURL;
    bool overridePresent = false;
};

struct ConfigurationValues {
    std::string killswitch = kDefaultKillswitch;
    std::string url;
    std::string serverurl;
};

// A settings override file in the user-data folder wins over the host's
// default file and over the server. Without a user-data folder its path would
// be taken from the current folder, where a stray file must not win.
ConfigurationSource findConfigurationSource(const ConfigurationRequest& request) {
    ConfigurationSource source{request.defaultConfigPath, request.configURL};
    if (request.userDataPath.empty()) return source;
    const std::string overridePath = appendPath(request.userDataPath.c_str(), "VEQConfig.xml");
    const std::string overrideURL = fileURLFromPath(overridePath.c_str());
    if (!overrideURL.empty()) {
        logDebug("Settings Override file is present at: %s", overrideURL.c_str());
        source = {overridePath, overrideURL, true};
    }
    return source;
}

bool storeHoldsEveryValue(VEQ::VEQPreferences* store) {
    return store != nullptr && store->hasPreference("killswitch") && store->hasPreference("url") &&
           store->hasPreference("serverurl");
}

// The stored values, which the server's last answer wrote, unless an
// override decides; otherwise the file's, which are stored in turn.
ConfigurationValues readConfigurationValues(const ConfigurationRequest& request, const ConfigurationSource& source,
                                            const std::string& lowerLocale) {
    auto store = VEQ::getPreferenceStore(request.userDataPath, request.locale);
    // An empty path would name the current folder.
    const std::string fileURL = source.path.empty() ? "" : fileURLFromPath(source.path.c_str());

    ConfigurationValues values;
    logDebug("Default configuration file URL is: %s, path is %s", fileURL.c_str(), source.path.c_str());
    if (!source.overridePresent && storeHoldsEveryValue(store.get())) {
        values.killswitch = store->getPreference("killswitch", "on");
        values.url = store->getPreference("url", "");
        values.serverurl = store->getPreference("serverurl", "");
        logDebug("Reading settings existing preference: %s %s %s", values.killswitch.c_str(), values.url.c_str(),
                 values.serverurl.c_str());
    } else if (!fileURL.empty()) {
        platform::HttpCancellation never;
        if (readConfigFile(fileURL.c_str(), request.product.c_str(), request.version.c_str(), lowerLocale.c_str(),
                           values.killswitch, values.url, values.serverurl, never)) {
            applyConfigParameters(values.killswitch.c_str(), values.url.c_str(), values.serverurl.c_str(),
                                  request.userDataPath.c_str(), request.locale.c_str());
            logDebug("Reading settings default config: %s %s %s", values.killswitch.c_str(), values.url.c_str(),
                     values.serverurl.c_str());
        } else {
            logDebug("Failed to read settings from default config");
        }
    } else {
        logDebug("Default config file path is invalid");
    }
    logDebug("Parameters: Kill Switch is %s and URL is %s and ServerURL is %s", values.killswitch.c_str(),
             values.url.c_str(), values.serverurl.c_str());
    return values;
}

// Keeps caches from answering with an old room page: the seconds since the
// epoch, after "?" or, when the URL has a query already, "&".
std::string withCacheBustingSuffix(const std::string& url) {
    const long long now = static_cast<long long>(std::time(nullptr));
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%c%d", url.find('?') != std::string::npos ? '&' : '?',
                  static_cast<int>(now % 2147483647));
    return url + suffix;
}

// An address the browser and the module could read as two sites counts as
// none, as an empty one does.
std::string takenAddress(const std::string& address, const char* what) {
    const char* ambiguity = addressAmbiguity(address);
    if (ambiguity == nullptr) return address;
    logDebug("Refusing the %s %s: %s", what, address.c_str(), ambiguity);
    return "";
}

VEQConfiguration* buildConfigurationRecord(const ConfigurationRequest& request, const ConfigurationSource& source,
                                           const ConfigurationValues& values, const std::string& lowerLocale) {
    VEQConfiguration* record = newConfigurationRecord();
    if (record == nullptr) return nullptr;
    record->configURL = recordText(source.recordConfigURL);
    record->url = recordText(withCacheBustingSuffix(takenAddress(values.url, "room URL")));
    record->serverURL = recordText(values.serverurl);
    record->killSwitch = switchesRoomOff(values.killswitch);
    record->product = recordText(request.product);
    record->version = recordText(request.version);
    record->locale = recordText(lowerLocale);
    record->userDataPath = recordText(request.userDataPath);
    record->hostValue = recordText(request.hostValue);
    record->installationType = recordText(request.installationType);
    if (request.offlinePagePath != nullptr && request.offlinePagePath[0] != 0) {
        record->offlinePageURL = recordText(takenAddress(fileURLFromPath(request.offlinePagePath), "offline page URL"));
    }
    record->isMASBuild = request.isMASBuild;
    record->isWASBuild = request.isWASBuild;
    return record;
}

void scheduleServerFetch(const ConfigurationRequest& request, const ConfigurationSource& source,
                         const ConfigurationValues& values, const std::string& lowerLocale) {
    logDebug("Scheduled config fetch task from server...");
    // With the room switched off, the UI-thread queue goes once fresh values are stored.
    RefPtr<Task> followUp;
    if (switchesRoomOff(values.killswitch)) followUp = makeRef<MainThreadDispatcherReleaseTask>();
    auto update = makeRef<UpdateXLoopConfigTask>(std::move(followUp));
    auto fetch = makeRef<FetchXloopServerConfigTask>(source.recordConfigURL, request.product, request.version,
                                                     lowerLocale, request.userDataPath, request.locale, update);
    startConfigurationWork(std::move(fetch), std::move(update));
}

}  // namespace

VEQConfiguration* resolveConfiguration(const ConfigurationRequest& request) {
    XLOOP_ASSERT_UI_THREAD();
    // An earlier call's fetch and its follow-up must not act on what this
    // call decides, whether or not this call fetches again.
    stopConfigurationWork();
    const ConfigurationSource source = findConfigurationSource(request);
    const std::string lowerLocale = lowerAscii(request.locale);
    const ConfigurationValues values = readConfigurationValues(request, source, lowerLocale);
    VEQConfiguration* record = buildConfigurationRecord(request, source, values, lowerLocale);
    if (record == nullptr || source.overridePresent) return record;
    // An empty address could only fail, and be tried again every minute.
    if (source.recordConfigURL.empty()) {
        logDebug("No server configuration URL given: no configuration fetch scheduled");
    } else {
        scheduleServerFetch(request, source, values, lowerLocale);
    }
    return record;
}

}  // namespace XLoop
