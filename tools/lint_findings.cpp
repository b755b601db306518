#include "lint_findings.h"

#include <algorithm>

namespace xloop_tool {


const RuleInfo& ruleInfo(Rule rule) {
    return *std::find_if(std::begin(kRules), std::end(kRules),
                         [rule](const RuleInfo& info) { return info.rule == rule; });
}

void Findings::add(Finding finding) {
    found.push_back(std::move(finding));
}

std::vector<Finding> Findings::ordered() const {
    std::vector<Finding> ordered = found;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    return ordered;
}

bool Findings::hasError() const {
    return std::any_of(found.begin(), found.end(), [](const Finding& f) { return f.level == Level::Error; });
}

int exitStatusOf(const std::vector<Finding>& findings) {
    int status = 0;
    for (const Finding& finding : findings) {
        if (finding.level == Level::Error) status = 2;
        if (finding.level == Level::Warning) status = std::max(status, 1);
    }
    return status;
}

}  // namespace xloop_tool
