/* The smallest host: starts the module, resolves a configuration, makes a
 * plain browser, shuts down and releases its configuration records. Prints
 * "consumer ok" when every step answered. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "xloop/xloop_client.h"

/* A host's own free releases a record where its runtime frees into the
 * module's allocator: Microsoft's runtime on Windows, the C library
 * elsewhere. A host built with mingw-w64 frees into another heap. */
#if !defined(_WIN32) || defined(_MSC_VER)
#define HOST_FREE_RELEASES_RECORDS 1
#endif

static void quiet(const char* line) {
    (void)line;
}

static VEQConfiguration* resolve(void) {
    return GetVEQConfiguration(NULL, "", "product", "1", "en_US", "", NULL, "full", NULL, false, false);
}

static bool intact(const VEQConfiguration* config, const char* installationType) {
    return config != NULL && strcmp(config->product, "product") == 0 && strcmp(config->locale, "en_us") == 0 &&
           strcmp(config->installationType, installationType) == 0;
}

#ifdef HOST_FREE_RELEASES_RECORDS
static void freeRecord(VEQConfiguration* config) {
    char* texts[] = {config->configURL, config->url,          config->serverURL,
                     config->product,   config->version,      config->locale,
                     config->userDataPath, config->hostValue, config->installationType,
                     config->offlinePageURL};
    for (size_t i = 0; i < sizeof texts / sizeof texts[0]; ++i) free(texts[i]);
    free(config);
}
#else
#define freeRecord FreeVEQConfiguration
#endif

int main(void) {
    SetVEQLogSink(quiet);
    InitializeVEQ(NULL);
    VEQConfiguration* config = resolve();
    BrowserClient* browser = config != NULL ? CreateBrowser(NULL, NULL, config->version) : NULL;
    VEQConfiguration* second = ModifyVEQConfiguration(resolve(), "trial");
    /* Nothing to read the configuration from: the room stays switched off. */
    const bool ok = intact(config, "full") && config->killSwitch && browser != NULL && intact(second, "trial");
    ShutDownVEQ();
    FreeVEQConfiguration(config);
    freeRecord(second);
    printf("%s\n", ok ? "consumer ok" : "consumer failed");
    return ok ? 0 : 1;
}
