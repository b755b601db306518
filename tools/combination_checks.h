// The checks that resolve every combination a file names, as the module
// would: a room switched off everywhere, and a room shown without an address.
#pragma once

#include <string>

#include "lint_findings.h"

namespace xloop_tool {

void checkCombinations(const std::string& bytes, Findings& findings);

}  // namespace xloop_tool
