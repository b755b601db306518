#include "lint_command.h"

#include <algorithm>

#include "base/percent_encoding.h"
#include "combination_checks.h"
#include "config_source.h"
#include "element_checks.h"
#include "encoding_check.h"
#include "file_sections.h"
#include "section_order.h"

namespace xloop_tool {
namespace {

// A byte a UTF-8 document cannot hold: libxml2 stops there, XmlLite may
// take another character for it. Its line, when there is one.
int reportEncodingFault(const std::string& bytes, Findings& findings) {
    const std::optional<EncodingFault> fault = firstNonUtf8Byte(bytes);
    if (!fault) return 0;
    static const char kHex[] = "0123456789ABCDEF";
    const std::string byte = std::string("0x") + kHex[fault->byte >> 4] + kHex[fault->byte & 0x0F];
    findings.add({Rule::EncodingError, Level::Error, fault->line, fault->column,
                  "byte " + byte + " is not UTF-8, " +
                      (fault->declared ? "the encoding the file declares"
                                       : "the encoding of a file that declares none") +
                      ": the module's XML reader stops here or reads another character; save the file as UTF-8 "
                      "or declare its encoding"});
    return fault->line;
}

// Where the parse stopped, said as precisely as the bytes allow. False when
// it did not stop short.
bool reportDocumentProblem(const std::string& bytes, const XLoop::SectionsRead& read, Findings& findings) {
    const DocumentProblem problem = problemOf(read);
    if (problem.wholeFile) {
        findings.error(Rule::RefusedFile, problem.line, problem.text);
        return true;
    }
    const int encodingFault = reportEncodingFault(bytes, findings);
    if (problem.text.empty()) return false;
    // The parse stopping at or after the byte is that byte's doing.
    if (encodingFault == 0 || problem.line < encodingFault) {
        findings.error(Rule::BrokenXml, problem.line, problem.text);
    }
    return true;
}

void lintDocument(const std::string& bytes, Findings& findings) {
    ElementChecks checks(findings);
    const XLoop::SectionsRead read = visitAsTheModule(bytes, checks);
    const bool stoppedShort = reportDocumentProblem(bytes, read, findings);
    checkSectionOrder(checks.sections(), findings);
    // What a file that stops short resolves to follows from its fault, said already.
    if (!stoppedShort) checkCombinations(bytes, findings);
}

// A path as a URI reference: "/" between its parts, other bytes
// percent-encoded; a URL as it is.
std::string uriOf(const std::string& name) {
    if (isURL(name)) return name;
    std::string path = name;
    std::replace(path.begin(), path.end(), '\\', '/');
    return XLoop::percentEncode(path, "/:");
}

FileFindings lintOne(const std::string& name) {
    Findings findings;
    const ConfigSource source = loadConfigSource(name);
    if (!source.redirectedTo.empty()) {
        findings.note(Rule::Redirected, 0, "read from " + source.redirectedTo + ", where redirects led");
    }
    if (source.problem.empty()) {
        lintDocument(source.bytes, findings);
    } else {
        findings.error(source.fetched ? Rule::RefusedFile : Rule::UnreadableFile, 0, source.problem);
    }
    return {name, uriOf(name), findings.ordered()};
}

}  // namespace

int runLint(const LintRequest& request) {
    std::vector<FileFindings> files;
    int status = 0;
    for (const std::string& source : request.sources) {
        files.push_back(lintOne(source));
        status = std::max(status, exitStatusOf(files.back().findings));
    }
    printLintReport(request.format, files, status);
    return status;
}

}  // namespace xloop_tool
