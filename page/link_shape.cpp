#include "page/link_shape.h"

#include "base/ascii.h"

namespace XLoop {
namespace {

bool isHexDigit(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return isAsciiDigit(value) || (value >= 'a' && value <= 'f') || (value >= 'A' && value <= 'F');
}

}  // namespace

const char* linkShapeRefusal(const std::string& uri) {
    if (uri.size() > kMaxLinkBytes) return "links longer than 2048 bytes are not opened";
    for (size_t at = uri.find('%'); at != std::string::npos; at = uri.find('%', at + 1)) {
        if (at + 2 >= uri.size() || !isHexDigit(uri[at + 1]) || !isHexDigit(uri[at + 2])) {
            return "a % in it starts no two-digit escape";
        }
    }
    return nullptr;
}

}  // namespace XLoop
