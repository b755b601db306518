#include "resolved_combinations.h"

#include <map>

namespace xloop_tool {
namespace {

using XLoop::ConfigKey;
using XLoop::SectionKind;

// The last value a group of sections gives for each key, and when.
struct LastGiven {
    struct Given {
        size_t order = 0;  // 0: none given
        XLoop::ConfigValue value;
    };
    Given keys[3];
};

// The module applies the sections in document order, each value replacing
// the one before, and the sections that apply to a combination are those of
// four groups: the general defaults, its product's, its version's and its
// locale's. So a key's value is the latest any of the four gave.
class SectionGroups {
public:
    explicit SectionGroups(const std::vector<FileSection>& sections) {
        size_t order = 0;
        for (const FileSection& section : sections) {
            LastGiven& group = groupOf(section);
            for (const auto& [key, text] : section.values) {
                group.keys[static_cast<int>(key)] = {++order, {text, section.line, section.kind}};
            }
        }
    }

    XLoop::ConfigValues valuesOf(const Combination& c) const {
        // No section names kUnnamed, so the lookups of an unnamed part find none.
        const LastGiven* groups[] = {&general, find(products, {c.product, {}, {}}),
                                     find(versions, {c.product, c.version, {}}),
                                     find(locales, {c.product, c.version, c.locale})};
        XLoop::ConfigValues values;
        values.killswitch.text = XLoop::kDefaultKillswitch;
        for (ConfigKey key : XLoop::kConfigKeys) {
            const LastGiven::Given* latest = nullptr;
            for (const LastGiven* group : groups) {
                const LastGiven::Given& given = group->keys[static_cast<int>(key)];
                if (given.order > 0 && (latest == nullptr || given.order > latest->order)) latest = &given;
            }
            if (latest == nullptr) continue;
            values[key] = latest->value;
            if (key == ConfigKey::Killswitch) values.killswitchFound = true;
        }
        return values;
    }

private:
    LastGiven& groupOf(const FileSection& section) {
        switch (section.kind) {
            case SectionKind::ProductDefaults: return products[{section.product, {}, {}}];
            case SectionKind::VersionDefaults: return versions[{section.product, section.version, {}}];
            case SectionKind::Locale: return locales[{section.product, section.version, section.locale}];
            default: return general;
        }
    }

    static const LastGiven* find(const std::map<Combination, LastGiven>& groups, const Combination& names) {
        static const LastGiven kNone{};
        const auto found = groups.find(names);
        return found != groups.end() ? &found->second : &kNone;
    }

    LastGiven general;
    std::map<Combination, LastGiven> products, versions, locales;
};

}  // namespace

std::vector<ResolvedCombination> resolveCombinations(const FileSections& listed) {
    const SectionGroups groups(listed.sections);
    std::vector<ResolvedCombination> resolved;
    for (Combination& combination : combinationsOf(listed)) {
        XLoop::ConfigValues values = groups.valuesOf(combination);
        resolved.push_back({std::move(combination), std::move(values)});
    }
    return resolved;
}

}  // namespace xloop_tool
