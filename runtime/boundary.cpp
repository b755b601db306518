#include "runtime/boundary.h"

#include <exception>

#include "runtime/log.h"

namespace XLoop {

void logExceptionAtBoundary(const char* entry) noexcept {
    try {
        throw;
    } catch (const std::exception& exception) {
        logDebug("%s failed: %s", entry, exception.what());
    } catch (...) {
        logDebug("%s failed: an exception of unknown type", entry);
    }
}

}  // namespace XLoop
