#include "config/section_rules.h"

namespace XLoop {

SectionPlace SectionTracker::enter(std::string_view localName, int depth) {
    // Cut back to the parent, then take the element when it sits right below.
    const size_t level = static_cast<size_t>(depth);
    if (depth >= 1 && level < size) size = level;
    if (depth >= 0 && size == level) {
        if (level < kNamedLevels) names[level].assign(localName);
        ++size;
    }
    return place();
}

SectionPlace SectionTracker::place() const {
    if (size < 2 || size > kNamedLevels || names[0] != kRootName) return {};
    if (size == 2) {
        return names[1] == kDefaultsName ? SectionPlace{SectionKind::GeneralDefaults, {}, {}, {}} : SectionPlace{};
    }
    const std::string_view product = names[1];
    if (size == 3) {
        return names[2] == kDefaultsName ? SectionPlace{SectionKind::ProductDefaults, product, {}, {}} : SectionPlace{};
    }
    const std::string_view versionName = names[2];
    if (versionName.substr(0, kVersionPrefix.size()) != kVersionPrefix) return {};
    const std::string_view version = versionName.substr(kVersionPrefix.size());
    if (names[3] == kDefaultsName) return {SectionKind::VersionDefaults, product, version, {}};
    return {SectionKind::Locale, product, version, names[3]};
}

std::string sectionPath(const SectionPlace& place) {
    if (place.kind == SectionKind::None) return "";
    std::string path(kRootName);
    if (place.kind != SectionKind::GeneralDefaults) path.append("/").append(place.product);
    if (place.kind == SectionKind::VersionDefaults || place.kind == SectionKind::Locale) {
        path.append("/").append(kVersionPrefix).append(place.version);
    }
    path.append("/").append(place.kind == SectionKind::Locale ? place.locale : kDefaultsName);
    return path;
}

bool appliesTo(const SectionPlace& place, std::string_view product, std::string_view version,
               std::string_view locale) {
    switch (place.kind) {
        case SectionKind::GeneralDefaults:
            return true;
        case SectionKind::ProductDefaults:
            return place.product == product;
        case SectionKind::VersionDefaults:
            return place.product == product && place.version == version;
        case SectionKind::Locale:
            return place.product == product && place.version == version && place.locale == locale;
        case SectionKind::None:
            break;
    }
    return false;
}

ConfigKey configKeyOf(std::string_view attributeName) {
    for (ConfigKey key : kConfigKeys) {
        if (attributeName == configKeyName(key)) return key;
    }
    return ConfigKey::None;
}

const char* configKeyName(ConfigKey key) {
    switch (key) {
        case ConfigKey::Killswitch:
            return "killswitch";
        case ConfigKey::Url:
            return "url";
        case ConfigKey::Serverurl:
            return "serverurl";
        case ConfigKey::None:
            break;
    }
    return "";
}

}  // namespace XLoop
