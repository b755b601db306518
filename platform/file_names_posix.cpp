#include "platform/file_names.h"

namespace XLoop::platform {

int compareFileNames(const std::string& a, const std::string& b) {
    return a.compare(b);
}

bool isPathSeparator(char byte) {
    return byte == '/';
}

}  // namespace XLoop::platform
