// "lint": what the module would silently make of a configuration file.
#pragma once

#include <string>
#include <vector>

#include "lint_report.h"

namespace xloop_tool {

struct LintRequest {
    LintFormat format = LintFormat::Text;
    std::vector<std::string> sources;
};

// Prints the findings of every file. Returns 2 when any file has an error, 1
// when there are only warnings, 0 when every file is clean.
int runLint(const LintRequest& request);

}  // namespace xloop_tool
