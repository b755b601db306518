#include "lint_findings.h"

#include <algorithm>
#include <cstdio>

#include "terminal_text.h"

namespace xloop_tool {

void Findings::warning(int line, std::string text) {
    found.push_back({line, false, std::move(text)});
}

void Findings::error(int line, std::string text) {
    found.push_back({line, true, std::move(text)});
}

int Findings::report(const std::string& source) const {
    std::vector<Finding> ordered = found;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    int status = 0;
    for (const Finding& finding : ordered) {
        const std::string where = finding.line > 0 ? source + ":" + std::to_string(finding.line) : source;
        std::printf("%s: %s: %s\n", terminalSafe(where).c_str(), finding.isError ? "error" : "warning",
                    terminalSafe(finding.text).c_str());
        status = std::max(status, finding.isError ? 2 : 1);
    }
    return status;
}

}  // namespace xloop_tool
