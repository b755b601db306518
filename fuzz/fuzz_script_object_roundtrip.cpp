// Whatever one-level object the module writes for the page reads back to the
// same map. The input is split at NUL bytes into keys and values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/split_input.h"
#include "page/script_object.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto object = splitIntoPairs(data, size);
    if (XLoop::parseActionArguments(XLoop::serializeJsonObject(object)) != object) std::abort();
    return 0;
}
