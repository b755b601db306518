#include "page/trusted_pages.h"

#include <algorithm>

#include "base/address_ambiguity.h"
#include "base/ascii.h"
#include "base/nullable_text.h"
#include "base/percent_encoding.h"

namespace XLoop {
namespace {

// The URL up to its query or fragment, percent-decoded, so that spellings of
// one file that browsers and the module may choose differently compare equal.
std::string documentOf(const std::string& url) {
    return percentDecode(url.substr(0, url.find_first_of("?#")));
}

bool sameDocument(const std::string& a, const std::string& b) {
    return !a.empty() && !b.empty() && documentOf(a) == documentOf(b);
}

// A record the host filled itself may hold an address the resolution would
// have refused: it names no page either.
std::string unambiguous(const char* address) {
    const std::string text = textOrEmpty(address);
    return addressAmbiguity(text) == nullptr ? text : "";
}

}  // namespace

std::string originOf(const std::string& url) {
    const size_t colon = url.find(':');
    if (colon == std::string::npos) return "";
    const std::string scheme = lowerAscii(url.substr(0, colon));
    if (scheme != "http" && scheme != "https") return "";
    if (url.compare(colon + 1, 2, "//") != 0) return "";
    const size_t authorityStart = colon + 3;
    const size_t authorityEnd = url.find_first_of("/?#\\", authorityStart);
    std::string authority = url.substr(authorityStart, authorityEnd == std::string::npos
                                                           ? std::string::npos
                                                           : authorityEnd - authorityStart);
    const size_t credentials = authority.rfind('@');
    if (credentials != std::string::npos) authority.erase(0, credentials + 1);

    // A bracketed IPv6 address holds colons of its own.
    const size_t hostEnd = authority.empty() || authority[0] != '[' ? authority.find(':') : authority.find(']') + 1;
    std::string host = lowerAscii(authority.substr(0, hostEnd));
    std::string port = hostEnd < authority.size() && authority[hostEnd] == ':' ? authority.substr(hostEnd + 1) : "";
    if (host.empty() || hostEnd == 0) return "";
    for (char c : port) {
        if (!isAsciiDigit(static_cast<unsigned char>(c))) return "";
    }
    if (port.empty()) {
        port = scheme == "https" ? "443" : "80";
    } else {
        port.erase(0, std::min(port.find_first_not_of('0'), port.size() - 1));
    }
    return scheme + "://" + host + ":" + port;
}

bool isTrustedPage(const std::string& url, const VEQConfiguration& config) {
    if (addressAmbiguity(url) != nullptr) return false;
    const std::string roomURL = unambiguous(config.url);
    const std::string roomOrigin = originOf(roomURL);
    if (!roomOrigin.empty() && originOf(url) == roomOrigin) return true;
    if (roomOrigin.empty() && sameDocument(url, roomURL)) return true;
    return sameDocument(url, unambiguous(config.offlinePageURL));
}

}  // namespace XLoop
