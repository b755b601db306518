// The action-argument reader over arbitrary text: no crash, no undefined
// behaviour, and every pair it reads is one the text really holds, so
// writing the pairs and reading them back gives them again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "page/script_object.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const XLoop::ScriptObject pairs = XLoop::parseActionArguments(text);
    if (XLoop::parseActionArguments(XLoop::serializeJsonObject(pairs)) != pairs) std::abort();
    return 0;
}
