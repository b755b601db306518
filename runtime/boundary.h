// No exception crosses into the browser library or the host: both are built
// apart from the module (the library with another compiler), and an
// exception unwinding into them ends the process or worse.
#pragma once

#include <type_traits>

namespace XLoop {

// Logs the exception being handled, once, as "<entry> failed: <what>".
void logExceptionAtBoundary(const char* entry) noexcept;

// Runs body; what escapes it is logged and turned into the failure value.
template <class Body>
std::invoke_result_t<Body&> guardBoundary(const char* entry, std::invoke_result_t<Body&> failure,
                                          Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        logExceptionAtBoundary(entry);
        return failure;
    }
}

template <class Body>
void guardBoundary(const char* entry, Body&& body) noexcept {
    try {
        body();
    } catch (...) {
        logExceptionAtBoundary(entry);
    }
}

}  // namespace XLoop
