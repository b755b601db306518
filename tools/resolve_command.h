// "resolve": the values the module takes from a configuration file for one
// product, version and locale, each with the section that gave it.
#pragma once

#include <string>

namespace xloop_tool {

struct ResolveRequest {
    std::string source;
    std::string product;
    std::string version;
    std::string locale;  // as a host passes it; lower-cased as the module does
    bool json = false;
};

// Prints the values to standard output. Returns 0 when the module's read
// succeeds, 1 when it fails (no kill switch for this product, version and
// locale, or a file the module refuses: too large, empty, not readable as
// XML), 2 when the file cannot be fetched.
int runResolve(const ResolveRequest& request);

}  // namespace xloop_tool
