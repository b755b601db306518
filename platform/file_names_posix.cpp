#include "platform/file_names.h"

namespace XLoop::platform {

int compareFileNames(const std::string& a, const std::string& b) {
    return a.compare(b);
}

}  // namespace XLoop::platform
