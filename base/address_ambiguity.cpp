#include "base/address_ambiguity.h"

#include <algorithm>

#include "base/ascii.h"

namespace XLoop {
namespace {

bool isWebScheme(std::string_view scheme) {
    return scheme.size() >= 4 && scheme.size() <= 5 && startsWithIgnoringCase(scheme, "http") &&
           (scheme.size() == 4 || lowerAscii(scheme[4]) == 's');
}

// What an http or https authority holds beside its host: nothing, or a port
// of digits (empty meaning the default). A bracketed IPv6 host holds colons
// of its own.
bool hasReadablePort(std::string_view authority) {
    const size_t hostEnd = authority[0] == '[' ? authority.find(']') + 1 : authority.find(':');
    if (hostEnd == 0 || hostEnd >= authority.size()) return hostEnd != 0;
    if (authority[hostEnd] != ':') return false;
    const std::string_view port = authority.substr(hostEnd + 1);
    return std::all_of(port.begin(), port.end(), [](char c) { return isAsciiDigit(static_cast<unsigned char>(c)); });
}

}  // namespace

const char* addressAmbiguity(std::string_view address) {
    if (address.find('\\') != std::string_view::npos) return "it holds a backslash";
    const bool blankOrControl = std::any_of(address.begin(), address.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte <= 0x20 || byte == 0x7F;
    });
    if (blankOrControl) return "it holds a blank or a control byte";

    const size_t colon = address.find(':');
    const bool web = colon != std::string_view::npos && isWebScheme(address.substr(0, colon));
    if (colon == std::string_view::npos || address.compare(colon + 1, 2, "//") != 0) {
        // Browsers find a host in "http:host/", other parsers a path.
        return web ? "its host is empty" : nullptr;
    }
    const size_t authorityStart = colon + 3;
    const std::string_view authority =
        address.substr(authorityStart, address.find_first_of("/?#", authorityStart) - authorityStart);
    if (authority.find('@') != std::string_view::npos) return "it names user info before its host";
    if (!web) return nullptr;
    if (authority.empty() || authority[0] == ':' || authority == "[]") return "its host is empty";
    if (!hasReadablePort(authority)) return "its port is not a number";
    return nullptr;
}

}  // namespace XLoop
