// The configuration reader over arbitrary bytes: no crash, no undefined
// behaviour, and a kill switch reported only when one was read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "config/config_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string killswitch = "\x01unset", url, serverurl;
    const bool found = XLoop::readConfigSections(bytes, "prod", "7", "en_us", killswitch, url, serverurl);
    if (found && killswitch == "\x01unset") std::abort();
    return 0;
}
