// The product, version and locale combinations a configuration file names,
// for the checks and reports that go through each of them.
#pragma once

#include <string>
#include <vector>

#include "config/config_file.h"

namespace xloop_tool {

// An empty name stands for any name the file does not give at that level:
// "Studio" with an empty version is Studio in every version without an
// element of its own.
struct Combination {
    std::string product;
    std::string version;
    std::string locale;  // in lower case, as the module looks it up
    int line = 0;        // of the element that names it; 0 for the file as a whole
};

// Every locale element in lower case (one in upper case never matches), each
// version and product element with any other locale and version, and any
// other product; each once, the file-wide one first, then in document order.
// None when the root is not <veqconfig> or the module refuses the file unread.
std::vector<Combination> namedCombinations(const std::string& bytes);

// "Studio 17.0 en_us", "Studio 17.0, any other locale", "Studio, any other
// version", "any other product".
std::string describeCombination(const Combination& combination);

// Every named combination with the values the module takes for it, from one
// read of the file: the values its own reader gives when asked for each
// combination in turn (a name that no element carries for an empty one).
// None for a file the module refuses unread.
struct ResolvedCombination {
    Combination combination;
    XLoop::ConfigValues values;
};
std::vector<ResolvedCombination> resolveNamedCombinations(const std::string& bytes);

}  // namespace xloop_tool
