#include "lint_command.h"

#include <algorithm>

#include "base/xml_attribute_scan.h"
#include "config_source.h"
#include "element_checks.h"
#include "section_order.h"

namespace xloop_tool {
namespace {

void lintDocument(const std::string& bytes, Findings& findings) {
    XLoop::SectionsRead read;
    read.prescan = XLoop::scanAttributeWork(bytes.data(), bytes.size(), XLoop::kMaxAttributesPerElement);
    ElementChecks checks(findings);
    if (read.prescan == XLoop::AttributeScan::Within) {
        read.parse = XLoop::platform::visitXmlElements(bytes.data(), bytes.size(), checks, &read.stop);
    }
    const DocumentProblem problem = problemOf(read);
    if (!problem.text.empty()) findings.error(problem.line, problem.text);
    checkSectionOrder(checks.sections(), findings);
}

int lintOne(const std::string& name) {
    Findings findings;
    const ConfigSource source = loadConfigSource(name);
    if (source.problem.empty()) {
        lintDocument(source.bytes, findings);
    } else {
        findings.error(0, source.problem);
    }
    return findings.report(name);
}

}  // namespace

int runLint(const std::vector<std::string>& sources) {
    int status = 0;
    for (const std::string& source : sources) status = std::max(status, lintOne(source));
    return status;
}

}  // namespace xloop_tool
