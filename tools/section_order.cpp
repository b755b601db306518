#include "section_order.h"

#include <algorithm>
#include <map>
#include <string>
#include <utility>

namespace xloop_tool {
namespace {

using XLoop::SectionKind;

constexpr size_t kNone = static_cast<size_t>(-1);

template <typename Map>
size_t indexIn(const Map& map, const typename Map::key_type& key) {
    auto found = map.find(key);
    return found != map.end() ? found->second : kNone;
}

// For one key: the nearest section after the one at hand that gives it, of
// each general kind and scope.
struct LaterSections {
    size_t general = kNone;
    std::map<std::string, size_t> product;
    std::map<std::pair<std::string, std::string>, size_t> version;

    // The nearest later section more general than section whose scope holds it.
    size_t overriding(const SeenSection& section) const {
        size_t nearest = kNone;
        if (section.kind > SectionKind::GeneralDefaults) nearest = general;
        if (section.kind > SectionKind::ProductDefaults) nearest = std::min(nearest, indexIn(product, section.product));
        if (section.kind > SectionKind::VersionDefaults) {
            nearest = std::min(nearest, indexIn(version, {section.product, section.version}));
        }
        return nearest;
    }

    void note(const SeenSection& section, size_t index) {
        if (section.kind == SectionKind::GeneralDefaults) general = index;
        if (section.kind == SectionKind::ProductDefaults) product[section.product] = index;
        if (section.kind == SectionKind::VersionDefaults) version[{section.product, section.version}] = index;
    }
};

void checkGivenTwice(const std::vector<SeenSection>& sections, Findings& findings) {
    std::map<std::string, int> firstLine;
    for (const SeenSection& section : sections) {
        auto [first, isFirst] = firstLine.emplace(section.path, section.line);
        if (isFirst) continue;
        findings.warning(Rule::DuplicateSection, section.line,
                         "section " + section.path + " is given twice (first at line " +
                             std::to_string(first->second) + "): the later one's values replace the earlier one's");
    }
}

}  // namespace

void checkSectionOrder(const std::vector<SeenSection>& sections, Findings& findings) {
    checkGivenTwice(sections, findings);
    LaterSections later[3];
    for (size_t index = sections.size(); index-- > 0;) {
        const SeenSection& section = sections[index];
        for (XLoop::ConfigKey key : XLoop::kConfigKeys) {
            const int k = static_cast<int>(key);
            if (!section.gives[k]) continue;
            const size_t by = later[k].overriding(section);
            if (by != kNone) {
                findings.warning(Rule::OverriddenValue, section.line,
                                 std::string(XLoop::configKeyName(key)) + " of " + section.path +
                                     " is overridden by the more general " + sections[by].path + " at line " +
                                     std::to_string(sections[by].line) +
                                     ": sections apply in document order, the general ones belong first");
            }
            later[k].note(section, index);
        }
    }
}

}  // namespace xloop_tool
