// How the room's configuration is resolved for the host: where its values
// come from, the record handed back, and the fetch that refreshes the values
// for the next resolution.
#pragma once

#include <string>

#include "xloop/xloop_client.h"

namespace XLoop {

// What the host asked for. Null texts of the C call are empty here, except
// the three the record keeps null when the host gave none.
struct ConfigurationRequest {
    std::string defaultConfigPath;
    std::string configURL;
    std::string product;
    std::string version;
    std::string locale;  // as the host spelled it: it names the preference store
    std::string userDataPath;
    const char* hostValue = nullptr;
    const char* installationType = nullptr;
    const char* offlinePagePath = nullptr;
    bool isMASBuild = false;
    bool isWASBuild = false;
};

// Ends an earlier call's background work, takes the values from the stored
// preferences or the configuration file, and schedules a fetch from the
// server unless a settings override file decided. A record the host frees;
// null when its memory cannot be had. UI thread only.
VEQConfiguration* resolveConfiguration(const ConfigurationRequest& request);

}  // namespace XLoop
