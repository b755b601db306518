#include "prefs/store_locale.h"

#include <algorithm>

namespace VEQ {
namespace {

constexpr size_t kMaxLocaleBytes = 64;

bool isLocaleByte(char byte) {
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') ||
           byte == '_' || byte == '-' || byte == '.' || byte == '@';
}

}  // namespace

bool isPlainLocaleName(const std::string& locale) {
    return !locale.empty() && locale.size() <= kMaxLocaleBytes && locale.front() != '.' &&
           std::all_of(locale.begin(), locale.end(), isLocaleByte);
}

}  // namespace VEQ
