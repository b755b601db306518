// Which elements of a configuration file are sections, for which product,
// version and locale each counts, and which attributes give values: the
// rules the module resolves by, also used by the tools that check files.
#pragma once

#include <string>
#include <string_view>

namespace XLoop {

// The names the sections are made of.
constexpr std::string_view kRootName = "veqconfig";
constexpr std::string_view kDefaultsName = "defaults";
constexpr std::string_view kVersionPrefix = "ver_";

// From the most general section to the most specific.
enum class SectionKind { None, GeneralDefaults, ProductDefaults, VersionDefaults, Locale };

// What an element is. The names are views into the SectionTracker that
// placed it, valid until it takes the next element.
struct SectionPlace {
    SectionKind kind = SectionKind::None;
    std::string_view product;  // all but the general defaults
    std::string_view version;  // the text after "ver_": version defaults and locale sections
    std::string_view locale;   // locale sections
};

// Follows the elements of a document from the root down. A document with a
// fault can give an element a depth past its parent's; such an element takes
// the path of the one before it, as it always has in the module.
class SectionTracker {
public:
    SectionPlace enter(std::string_view localName, int depth);

    // The names from the root to the last element entered (a section has at
    // most four), and how many there are in all.
    const std::string& name(size_t level) const { return names[level]; }
    size_t levels() const { return size; }
    static constexpr size_t kNamedLevels = 4;

private:
    SectionPlace place() const;

    std::string names[kNamedLevels];
    size_t size = 0;
};

// The names from the root down to a section, joined by "/"; empty for None.
std::string sectionPath(const SectionPlace& place);

// Whether a section counts for the product, the version and the lower-cased
// locale. Names are compared byte for byte.
bool appliesTo(const SectionPlace& place, std::string_view product, std::string_view version,
               std::string_view locale);

// The attributes that give values, by their exact local names.
enum class ConfigKey { Killswitch, Url, Serverurl, None };
constexpr ConfigKey kConfigKeys[] = {ConfigKey::Killswitch, ConfigKey::Url, ConfigKey::Serverurl};
ConfigKey configKeyOf(std::string_view attributeName);
const char* configKeyName(ConfigKey key);

// The kill switch before any section gives one: the room stays off.
constexpr const char* kDefaultKillswitch = "on";

// Only this exact text turns the room off; "On", "true" or "1" leave it on.
inline bool switchesRoomOff(std::string_view killswitch) {
    return killswitch == "on";
}

}  // namespace XLoop
