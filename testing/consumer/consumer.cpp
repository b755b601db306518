// The same host in C++: the header serves both languages.
#include <cstdio>
#include <memory>

#include "xloop/xloop_client.h"

int main() {
    SetVEQLogSink([](const char*) {});
    InitializeVEQ(nullptr);
    std::unique_ptr<VEQConfiguration, void (*)(VEQConfiguration*)> config(
        GetVEQConfiguration(nullptr, "", "product", "1", "en_US", "", nullptr, "full", nullptr, false, false),
        FreeVEQConfiguration);
    BrowserClient* browser = config ? CreateBrowser(nullptr, nullptr, config->version) : nullptr;
    const bool ok = config && config->killSwitch && browser != nullptr;
    ShutDownVEQ();
    std::printf("%s\n", ok ? "consumer ok" : "consumer failed");
    return ok ? 0 : 1;
}
