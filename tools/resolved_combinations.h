// Every combination a file names with the values the module takes for it,
// from the sections listed once: reading the file again for each of
// thousands of combinations would take minutes, and lint goes through them
// all. The values are those the module's reader gives, combination by
// combination (a unit test holds the two together).
#pragma once

#include <vector>

#include "combinations.h"

namespace xloop_tool {

struct ResolvedCombination {
    Combination combination;
    XLoop::ConfigValues values;
};

std::vector<ResolvedCombination> resolveCombinations(const FileSections& listed);

}  // namespace xloop_tool
