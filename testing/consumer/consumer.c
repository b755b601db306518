/* The smallest host: starts the module, resolves a configuration, makes a
 * plain browser, shuts down. Prints "consumer ok" when every step answered. */
#include <stdio.h>
#include <stdlib.h>

#include "xloop/xloop_client.h"

static void quiet(const char* line) {
    (void)line;
}

int main(void) {
    SetVEQLogSink(quiet);
    InitializeVEQ(NULL);
    VEQConfiguration* config = GetVEQConfiguration(NULL, "", "product", "1", "en_US", "", NULL, "full", NULL,
                                                   false, false);
    BrowserClient* browser = config != NULL ? CreateBrowser(NULL, NULL, config->version) : NULL;
    /* Nothing to read the configuration from: the room stays switched off. */
    const bool ok = config != NULL && config->killSwitch && browser != NULL;
    ShutDownVEQ();
    free(config);
    printf("%s\n", ok ? "consumer ok" : "consumer failed");
    return ok ? 0 : 1;
}
