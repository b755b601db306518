// The product, version and locale combinations a configuration file names,
// and what the module resolves for each.
#pragma once

#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "file_sections.h"

namespace xloop_tool {

// No element can carry this name, so it stands for any product, version or
// locale a file does not name, and the module resolves it as it would such a
// text.
constexpr const char* kUnnamed = "*";

struct Combination {
    std::string product;
    std::string version;
    std::string locale;  // lower-cased, as the module looks it up

    bool operator<(const Combination& other) const {
        return std::tie(product, version, locale) < std::tie(other.product, other.version, other.locale);
    }
};

// One combination per section: a locale section names all three, the
// defaults of a version leave the locale unnamed, and so on up to the
// general defaults, which name none.
void addCombinations(const std::vector<FileSection>& sections, std::set<Combination>& into);

// "Studio 17.0 en_us", "Studio * *".
std::string labelOf(const Combination& combination);

// The module's reading of bytes for a combination into values, which start
// as the module starts them; trace, when given, is told what is taken.
XLoop::SectionsRead resolveCombination(const std::string& bytes, const Combination& combination,
                                       XLoop::ConfigValues& values, XLoop::SectionTrace* trace = nullptr);

}  // namespace xloop_tool
