#include "platform/error_text.h"

#include <system_error>

namespace XLoop::platform {

std::string systemErrorText(int code) {
    // The standard library's wording is strerror's, made safely on any thread.
    return std::generic_category().message(code);
}

}  // namespace XLoop::platform
