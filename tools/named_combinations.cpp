#include "named_combinations.h"

#include "base/ascii.h"

namespace xloop_tool {

void addCombinations(const std::vector<FileSection>& sections, std::set<Combination>& into) {
    using XLoop::SectionKind;
    for (const FileSection& section : sections) {
        const bool product = section.kind != SectionKind::GeneralDefaults;
        const bool version = section.kind == SectionKind::VersionDefaults || section.kind == SectionKind::Locale;
        const bool locale = section.kind == SectionKind::Locale;
        into.insert({product ? section.product : kUnnamed, version ? section.version : kUnnamed,
                     locale ? XLoop::lowerAscii(section.locale) : kUnnamed});
    }
}

std::string labelOf(const Combination& combination) {
    return combination.product + " " + combination.version + " " + combination.locale;
}

XLoop::SectionsRead resolveCombination(const std::string& bytes, const Combination& combination,
                                       XLoop::ConfigValues& values, XLoop::SectionTrace* trace) {
    values = {};
    values.killswitch.text = XLoop::kDefaultKillswitch;
    return XLoop::readSectionValues(bytes, combination.product.c_str(), combination.version.c_str(),
                                    combination.locale.c_str(), values, trace);
}

}  // namespace xloop_tool
