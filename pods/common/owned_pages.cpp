#include "pods/common/owned_pages.h"

#include <utility>

namespace veqpod {
namespace {

int hexValue(char digit) {
    if (digit >= '0' && digit <= '9') return digit - '0';
    if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
    if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
    return -1;
}

}  // namespace

std::string originKey(const std::string& scheme, const std::string& host, int port) {
    if (host.empty() || (scheme != "http" && scheme != "https")) return "";
    if (port <= 0) port = scheme == "http" ? 80 : 443;
    return scheme + "://" + host + ":" + std::to_string(port);
}

bool unescapeUri(const std::string& text, std::string* unescaped) {
    unescaped->clear();
    for (size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '%') {
            *unescaped += text[at];
            continue;
        }
        const int high = at + 2 < text.size() ? hexValue(text[at + 1]) : -1;
        const int low = at + 2 < text.size() ? hexValue(text[at + 2]) : -1;
        if (high < 0 || low < 0 || (high == 0 && low == 0)) return false;
        *unescaped += static_cast<char>(high * 16 + low);
        at += 2;
    }
    return true;
}

std::string fileKey(const std::string& writtenUri) {
    const std::string prefix = "file://";
    if (writtenUri.compare(0, prefix.size(), prefix) != 0) return "";
    const std::string path = writtenUri.substr(prefix.size(), writtenUri.find_first_of("?#") - prefix.size());
    std::string unescaped;
    if (!unescapeUri(path, &unescaped)) return "";
    return prefix + unescaped;
}

bool OwnedPages::add(const char* uri) {
    std::string key = uri != nullptr ? keyOf(uri) : "";
    return !key.empty() && pageKeys.insert(std::move(key)).second;
}

bool OwnedPages::contains(const char* uri) const {
    const std::string key = uri != nullptr ? keyOf(uri) : "";
    return !key.empty() && pageKeys.count(key) != 0;
}

}  // namespace veqpod
