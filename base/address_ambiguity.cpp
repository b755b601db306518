#include "base/address_ambiguity.h"

#include <algorithm>

#include "base/ascii.h"

namespace XLoop {

const char* addressAmbiguity(std::string_view address) {
    if (address.find('\\') != std::string_view::npos) return "it holds a backslash";
    const bool blankOrControl = std::any_of(address.begin(), address.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte <= 0x20 || byte == 0x7F;
    });
    if (blankOrControl) return "it holds a blank or a control byte";

    const size_t schemeEnd = address.find("://");
    if (schemeEnd == std::string_view::npos) return nullptr;
    const size_t authorityStart = schemeEnd + 3;
    const std::string_view authority =
        address.substr(authorityStart, address.find_first_of("/?#", authorityStart) - authorityStart);
    if (authority.find('@') != std::string_view::npos) return "it names user info before its host";
    const std::string_view scheme = address.substr(0, schemeEnd);
    const bool web = startsWithIgnoringCase(scheme, "http") &&
                     (scheme.size() == 4 || (scheme.size() == 5 && lowerAscii(scheme[4]) == 's'));
    if (web && (authority.empty() || authority[0] == ':')) return "its host is empty";
    return nullptr;
}

}  // namespace XLoop
