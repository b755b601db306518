// What every browser the module creates shares: its init record and version.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "runtime/log.h"
#include "xloop/veq_browser.h"

namespace XLoop {

// Starts on "about:blank" with no text and 125 for each value. Lives on the
// caller's stack for the one creating call; the library keeps no pointer to it.
struct StandardInitData {
    BrowserInitData record{"about:blank", "", 125, 125, 125};
};

// The library wants the version as a number: text that is not one gives 0,
// and so does a missing text rather than a crash.
inline int32_t versionNumber(const char* version) {
    return version != nullptr ? std::atoi(version) : 0;
}

// Passes the library's client on; a refusal is said once, naming the export.
inline BrowserClient* reportedCreation(const char* exportName, BrowserClient* client) {
    if (client == nullptr) logDebug("%s failed: CreateBrowserClientWithInitData returned null", exportName);
    return client;
}

}  // namespace XLoop
