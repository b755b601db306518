#include "base/percent_encoding.h"

#include <cstring>

namespace XLoop {
namespace {

bool isUnreserved(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' ||
           byte == '~';
}

}  // namespace

std::string percentEncode(const std::string& bytes, const char* alsoKeep) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(bytes.size() * 3);
    for (unsigned char byte : bytes) {
        if (isUnreserved(byte) || (byte != 0 && std::strchr(alsoKeep, byte) != nullptr)) {
            encoded.push_back(static_cast<char>(byte));
        } else {
            encoded.push_back('%');
            encoded.push_back(kHex[byte >> 4]);
            encoded.push_back(kHex[byte & 0x0F]);
        }
    }
    return encoded;
}

}  // namespace XLoop
