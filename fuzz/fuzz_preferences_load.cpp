// The preferences loader over arbitrary bytes: no crash, no undefined behaviour.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "prefs/preferences_document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::map<std::string, std::string> preferences;
    XLoop::readPreferencesDocument(std::string(reinterpret_cast<const char*>(data), size), preferences);
    return 0;
}
