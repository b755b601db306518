// The product, version and locale combinations a configuration file names,
// and what the module resolves for each.
#pragma once

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

// Every product, version and locale the sections name, each with the
// unnamed rest at the levels below: "Studio 17.0 en_us", "Studio 17.0 *",
// "Studio * *" and "* * *". Whatever a host asks for falls in exactly one of
// them and resolves as it does. A locale in upper case names none (the module
// never matches it). Sorted, each once; none for a file without <veqconfig>.
std::vector<Combination> combinationsOf(const FileSections& listed);

// The combinations either file names.
std::vector<Combination> combinationsOf(const FileSections& before, const FileSections& after);

// "Studio 17.0 en_us", "Studio * *".
std::string labelOf(const Combination& combination);

// "Studio 17.0 en_us", "Studio 17.0, any other locale", "Studio, any other
// version", "any other product".
std::string describeCombination(const Combination& combination);

// The module's reading of bytes for a combination into values, which start
// as the module starts them; trace, when given, is told what is taken.
XLoop::SectionsRead resolveCombination(const std::string& bytes, const Combination& combination,
                                       XLoop::ConfigValues& values, XLoop::SectionTrace* trace = nullptr);

}  // namespace xloop_tool
