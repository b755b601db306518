// Whatever one-level object the module writes for the page reads back to the
// same map. The input is split at NUL bytes into keys and values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "page/script_object.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    XLoop::ScriptObject object;
    const std::string input(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    std::string key;
    bool readingKey = true;
    for (size_t i = 0; i <= input.size(); ++i) {
        if (i < input.size() && input[i] != '\0') continue;
        std::string part = input.substr(start, i - start);
        if (readingKey) {
            key = std::move(part);
        } else {
            object.emplace(key, std::move(part));
        }
        readingKey = !readingKey;
        start = i + 1;
    }
    if (XLoop::parseActionArguments(XLoop::serializeJsonObject(object)) != object) std::abort();
    return 0;
}
