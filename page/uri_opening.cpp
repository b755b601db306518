#include "page/uri_opening.h"

#include <algorithm>
#include <cctype>

#include "host/log.h"
#include "platform/open_uri.h"

namespace XLoop {
namespace {

// Lower-cased scheme, empty when the text does not start with one.
std::string schemeOf(const std::string& uri) {
    const size_t colon = uri.find(':');
    if (colon == std::string::npos || colon == 0) return "";
    std::string scheme = uri.substr(0, colon);
    const bool wellFormed = std::isalpha(static_cast<unsigned char>(scheme[0])) &&
                            std::all_of(scheme.begin(), scheme.end(), [](unsigned char c) {
                                return std::isalnum(c) || c == '+' || c == '-' || c == '.';
                            });
    if (!wellFormed) return "";
    std::transform(scheme.begin(), scheme.end(), scheme.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return scheme;
}

bool splitsArguments(unsigned char byte) {
    return byte <= 0x20 || byte == 0x7F || byte == '"';
}

}  // namespace

bool mayOpenURI(const std::string& uri) {
    const std::string scheme = schemeOf(uri);
    if (scheme != "http" && scheme != "https" && scheme != "mailto") return false;
    return std::none_of(uri.begin(), uri.end(), [](char c) { return splitsArguments(static_cast<unsigned char>(c)); });
}

void openURIFromPage(const std::string& uri) {
    if (!mayOpenURI(uri)) {
        logDebug("Refused to open %s: only http, https and mailto links are opened", uri.c_str());
        return;
    }
    const platform::StepResult opened = platform::openUri(uri);
    if (!opened.ok) logDebug("Could not open %s: %s failed with %d", uri.c_str(), opened.step, opened.code);
}

}  // namespace XLoop
