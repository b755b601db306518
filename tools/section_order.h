// The checks that compare sections: one given twice, and one whose values a
// later, more general section takes over (sections apply in document order).
#pragma once

#include <vector>

#include "element_checks.h"
#include "lint_findings.h"

namespace xloop_tool {

void checkSectionOrder(const std::vector<SeenSection>& sections, Findings& findings);

}  // namespace xloop_tool
