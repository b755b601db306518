#include "page/script_object.h"

#include <cstring>

#include "platform/library_memory.h"

namespace XLoop {

void quoteJsonString(const std::string& text, std::string& out) {
    static const char kHex[] = "0123456789abcdef";
    out.push_back('"');
    for (unsigned char byte : text) {
        switch (byte) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\b': out += "\\b"; break;
            case '\f': out += "\\f"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (byte < 0x20) {
                    out += "\\u00";
                    out.push_back(kHex[byte >> 4]);
                    out.push_back(kHex[byte & 0x0F]);
                } else {
                    out.push_back(static_cast<char>(byte));
                }
        }
    }
    out.push_back('"');
}

char* takeHeapCString(std::string& text) {
    auto* copy = static_cast<char*>(platform::allocateForLibrary(text.size() + 1));
    if (copy != nullptr) std::memcpy(copy, text.c_str(), text.size() + 1);
    std::string().swap(text);
    return copy;
}

}  // namespace XLoop
