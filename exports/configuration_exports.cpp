// The exports that resolve the room's configuration for the host.
#include "base/nullable_text.h"
#include "config/configuration_record.h"
#include "config/configuration_resolution.h"
#include "exports/host_call_checks.h"
#include "runtime/boundary.h"
#include "runtime/log.h"
#include "xloop/xloop_client.h"

using namespace XLoop;

extern "C" VEQConfiguration* GetVEQConfiguration(const char* defaultConfigPath, const char* configURL,
                                                 const char* product, const char* version,
                                                 const char* locale, const char* userDataPath,
                                                 const char* hostValue, const char* installationType,
                                                 const char* offlinePagePath, bool isMASBuild,
                                                 bool isWASBuild) {
    return guardBoundary("GetVEQConfiguration", nullptr, [&]() -> VEQConfiguration* {
        checkHostCall("GetVEQConfiguration", NeedsRunningModule::Yes);
        ConfigurationRequest request;
        request.defaultConfigPath = textOrEmpty(defaultConfigPath);
        request.configURL = textOrEmpty(configURL);
        request.product = textOrEmpty(product);
        request.version = textOrEmpty(version);
        request.locale = textOrEmpty(locale);
        request.userDataPath = textOrEmpty(userDataPath);
        request.hostValue = hostValue;
        request.installationType = installationType;
        request.offlinePagePath = offlinePagePath;
        request.isMASBuild = isMASBuild;
        request.isWASBuild = isWASBuild;
        return resolveConfiguration(request);
    });
}

extern "C" VEQConfiguration* ModifyVEQConfiguration(VEQConfiguration* config, const char* installationType) {
    return guardBoundary("ModifyVEQConfiguration", config, [&]() -> VEQConfiguration* {
        checkHostCall("ModifyVEQConfiguration", NeedsRunningModule::No);
        if (config == nullptr) {
            logDebug("ModifyVEQConfiguration called without a configuration record");
        } else if (installationType == nullptr) {
            logDebug("ModifyVEQConfiguration called without an installation type; the record is unchanged");
        } else {
            replaceInstallationType(*config, installationType);
        }
        return config;
    });
}

extern "C" void FreeVEQConfiguration(VEQConfiguration* config) {
    guardBoundary("FreeVEQConfiguration", [&] {
        releaseConfigurationRecord(config);
    });
}
