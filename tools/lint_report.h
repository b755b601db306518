// Prints what lint found, in the form a person or a pipeline reads.
#pragma once

#include <string>
#include <vector>

#include "lint_findings.h"

namespace xloop_tool {

// text: "FILE:LINE[:COLUMN]: level: text" a line. json: one object,
// {"exitCode": N, "files": [{"source", "findings": [{"rule", "level", "line",
// "column", "message"}]}]}, line and column null where not known. sarif: a
// SARIF 2.1.0 log with one run, as code-scanning tools read it.
enum class LintFormat { Text, Json, Sarif };

// False for a name that is none of "text", "json" and "sarif".
bool lintFormatOf(const std::string& name, LintFormat& format);

struct FileFindings {
    std::string source;  // as named on the command line
    std::string uri;     // the same as a URI reference: a URL, or a path with "/" and percent-encoding
    std::vector<Finding> findings;
};

// To standard output.
void printLintReport(LintFormat format, const std::vector<FileFindings>& files, int exitStatus);

}  // namespace xloop_tool
