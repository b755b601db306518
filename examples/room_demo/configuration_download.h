// Reading a configuration the host ships from a web address.
#pragma once

#include <string>

namespace xloop_demo {

// The body of a successful http or https GET of url, redirects followed;
// throws std::runtime_error with the reason otherwise.
std::string downloadText(const std::string& url);

}  // namespace xloop_demo
