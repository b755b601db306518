// "lint": what the module would silently make of a configuration file.
#pragma once

#include <string>
#include <vector>

namespace xloop_tool {

// Prints the findings of each file. Returns 2 when any file has an error, 1
// when there are only warnings, 0 when every file is clean.
int runLint(const std::vector<std::string>& sources);

}  // namespace xloop_tool
