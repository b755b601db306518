#include "combinations.h"

#include <set>

#include "base/ascii.h"

namespace xloop_tool {
namespace {

void addCombinations(const FileSections& listed, std::set<Combination>& into) {
    using XLoop::SectionKind;
    if (listed.rooted) into.insert({kUnnamed, kUnnamed, kUnnamed});
    for (const FileSection& section : listed.sections) {
        if (section.kind == SectionKind::GeneralDefaults) continue;
        into.insert({section.product, kUnnamed, kUnnamed});
        if (section.kind == SectionKind::ProductDefaults) continue;
        into.insert({section.product, section.version, kUnnamed});
        if (section.kind == SectionKind::Locale && XLoop::lowerAscii(section.locale) == section.locale) {
            into.insert({section.product, section.version, section.locale});
        }
    }
}

// A version element named "ver_" alone names the empty version.
std::string shownName(const std::string& name) {
    return name.empty() ? "\"\"" : name;
}

}  // namespace

std::vector<Combination> combinationsOf(const FileSections& listed) {
    std::set<Combination> combinations;
    addCombinations(listed, combinations);
    return {combinations.begin(), combinations.end()};
}

std::vector<Combination> combinationsOf(const FileSections& before, const FileSections& after) {
    std::set<Combination> combinations;
    addCombinations(before, combinations);
    addCombinations(after, combinations);
    return {combinations.begin(), combinations.end()};
}

std::string labelOf(const Combination& combination) {
    return combination.product + " " + shownName(combination.version) + " " + combination.locale;
}

std::string describeCombination(const Combination& combination) {
    if (combination.product == kUnnamed) return "any other product";
    if (combination.version == kUnnamed) return combination.product + ", any other version";
    const std::string version = combination.product + " " + shownName(combination.version);
    if (combination.locale == kUnnamed) return version + ", any other locale";
    return version + " " + combination.locale;
}

XLoop::SectionsRead resolveCombination(const std::string& bytes, const Combination& combination,
                                       XLoop::ConfigValues& values, XLoop::SectionTrace* trace) {
    values = {};
    values.killswitch.text = XLoop::kDefaultKillswitch;
    return XLoop::readSectionValues(bytes, combination.product.c_str(), combination.version.c_str(),
                                    combination.locale.c_str(), values, trace);
}

}  // namespace xloop_tool
