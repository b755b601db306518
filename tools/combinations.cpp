#include "combinations.h"

#include <map>
#include <set>
#include <tuple>

#include "base/ascii.h"
#include "base/xml_attribute_scan.h"
#include "config/section_rules.h"
#include "platform/xml_reader.h"

namespace xloop_tool {
namespace {

using Names = std::tuple<std::string, std::string, std::string>;

// The last value a group of sections gives for each key, and when.
struct LastGiven {
    struct Given {
        size_t order = 0;  // 0: none given
        XLoop::ConfigValue value;
    };
    Given keys[3];
};

// Follows the element names once: keeps the elements that name a
// combination, and the last value each section group gives. Sections apply in
// document order, so for any combination the value of a key is the latest
// of those its four groups (general, product, version, locale defaults) gave.
class CombinationReader final : public XLoop::platform::XmlElementVisitor {
public:
    explicit CombinationReader(std::vector<Combination>& found) : found(found) {}

    bool wantsElement(const XLoop::platform::XmlElement& element) override {
        place = tracker.enter(element.localName, element.depth);
        naming = names();
        return place.kind != XLoop::SectionKind::None || naming;
    }

    void visitElement(const XLoop::platform::XmlElement& element) override {
        if (naming) {
            pending.line = element.line;
            add(pending);
        }
        if (place.kind == XLoop::SectionKind::None) return;
        LastGiven& group = groupOf(place);
        for (const auto& [name, text] : element.attributes) {
            const XLoop::ConfigKey key = XLoop::configKeyOf(name);
            if (key == XLoop::ConfigKey::None) continue;
            group.keys[static_cast<int>(key)] = {++order, {text, element.line, place.kind}};
        }
    }

    XLoop::ConfigValues valuesOf(const Combination& combination) const {
        // An empty name is any other: no element of its level applies.
        const Combination& c = combination;
        const LastGiven* groups[] = {
            &general, c.product.empty() ? &kNone : find(products, {c.product, {}, {}}),
            c.version.empty() ? &kNone : find(versions, {c.product, c.version, {}}),
            c.locale.empty() ? &kNone : find(locales, {c.product, c.version, c.locale})};
        XLoop::ConfigValues values;
        values.killswitch.text = XLoop::kDefaultKillswitch;
        for (XLoop::ConfigKey key : XLoop::kConfigKeys) {
            const LastGiven::Given* latest = nullptr;
            for (const LastGiven* group : groups) {
                const LastGiven::Given& given = group->keys[static_cast<int>(key)];
                if (given.order > 0 && (latest == nullptr || given.order > latest->order)) latest = &given;
            }
            if (latest != nullptr) values[key] = latest->value;
            if (latest != nullptr && key == XLoop::ConfigKey::Killswitch) values.killswitchFound = true;
        }
        return values;
    }

private:
    // Whether the element just entered names a combination not named before;
    // if so it waits in pending for its line.
    bool names() {
        const size_t levels = tracker.levels();
        if (levels == 1 && tracker.name(0) == XLoop::kRootName) add({});
        if (levels < 2 || levels > 4 || tracker.name(0) != XLoop::kRootName) return false;
        const std::string& product = tracker.name(1);
        if (product == XLoop::kDefaultsName) return false;
        if (levels == 2) return take({product, {}, {}});
        const std::string& versionName = tracker.name(2);
        if (versionName.compare(0, XLoop::kVersionPrefix.size(), XLoop::kVersionPrefix) != 0) return false;
        const std::string version = versionName.substr(XLoop::kVersionPrefix.size());
        // A version named "ver_" alone would read as any other version.
        if (version.empty()) return false;
        if (levels == 3) return take({product, version, {}});
        const std::string& locale = tracker.name(3);
        if (locale == XLoop::kDefaultsName || XLoop::lowerAscii(locale) != locale) return false;
        return take({product, version, locale});
    }

    bool take(Combination combination) {
        if (named.count(Names{combination.product, combination.version, combination.locale}) != 0) return false;
        pending = std::move(combination);
        return true;
    }

    void add(const Combination& combination) {
        named.emplace(combination.product, combination.version, combination.locale);
        found.push_back(combination);
    }

    LastGiven& groupOf(const XLoop::SectionPlace& section) {
        const std::string product(section.product), version(section.version), locale(section.locale);
        switch (section.kind) {
            case XLoop::SectionKind::ProductDefaults: return products[{product, {}, {}}];
            case XLoop::SectionKind::VersionDefaults: return versions[{product, version, {}}];
            case XLoop::SectionKind::Locale: return locales[{product, version, locale}];
            default: return general;
        }
    }

    static inline const LastGiven kNone{};

    static const LastGiven* find(const std::map<Names, LastGiven>& groups, const Names& names) {
        const auto found = groups.find(names);
        return found != groups.end() ? &found->second : &kNone;
    }

    std::vector<Combination>& found;
    XLoop::SectionTracker tracker;
    XLoop::SectionPlace place;
    bool naming = false;
    std::set<Names> named;
    Combination pending;
    size_t order = 0;
    LastGiven general;
    std::map<Names, LastGiven> products, versions, locales;
};

}  // namespace

std::vector<Combination> namedCombinations(const std::string& bytes) {
    std::vector<Combination> named;
    for (ResolvedCombination& resolved : resolveNamedCombinations(bytes)) {
        named.push_back(std::move(resolved.combination));
    }
    return named;
}

std::vector<ResolvedCombination> resolveNamedCombinations(const std::string& bytes) {
    std::vector<ResolvedCombination> resolved;
    // The module reads nothing from a file whose attributes would take too long to parse.
    if (XLoop::scanAttributeWork(bytes.data(), bytes.size(), XLoop::kMaxAttributesPerElement) !=
        XLoop::AttributeScan::Within) {
        return resolved;
    }
    std::vector<Combination> found;
    CombinationReader reader(found);
    XLoop::platform::visitXmlElements(bytes.data(), bytes.size(), reader);
    for (Combination& combination : found) {
        XLoop::ConfigValues values = reader.valuesOf(combination);
        resolved.push_back({std::move(combination), std::move(values)});
    }
    return resolved;
}

std::string describeCombination(const Combination& combination) {
    if (combination.product.empty()) return "any other product";
    if (combination.version.empty()) return combination.product + ", any other version";
    if (combination.locale.empty()) return combination.product + " " + combination.version + ", any other locale";
    return combination.product + " " + combination.version + " " + combination.locale;
}

}  // namespace xloop_tool
