// A product, version or locale that a file does not name where it names
// others: the module then falls back to more general sections without a
// word, and a publisher has most likely mistyped it.
#pragma once

#include <string>
#include <vector>

#include "combinations.h"

namespace xloop_tool {

// "no product `studio`; `Studio` exists: ..." for the first such name of
// asked (its locale lower-cased), or the empty text.
std::string nearMiss(const std::vector<FileSection>& sections, const Combination& asked);

}  // namespace xloop_tool
