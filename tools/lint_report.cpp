#include "lint_report.h"

#include <cstdio>
#include <iterator>

#include "page/script_object.h"
#include "terminal_text.h"

namespace xloop_tool {
namespace {

const char* levelName(Level level) {
    switch (level) {
        case Level::Note: return "note";
        case Level::Warning: return "warning";
        case Level::Error: break;
    }
    return "error";
}

// Whatever the file or the server said stays escaped as in the text report,
// so a JSON reader shows it as safely as a terminal does.
std::string quoted(const std::string& text) {
    std::string out;
    XLoop::quoteJsonString(terminalSafe(text), out);
    return out;
}

std::string numberOrNull(int number) {
    return number > 0 ? std::to_string(number) : "null";
}

void printText(const std::vector<FileFindings>& files) {
    for (const FileFindings& file : files) {
        for (const Finding& finding : file.findings) {
            std::string where = file.source;
            if (finding.line > 0) where += ":" + std::to_string(finding.line);
            if (finding.line > 0 && finding.column > 0) where += ":" + std::to_string(finding.column);
            std::printf("%s: %s: %s\n", terminalSafe(where).c_str(), levelName(finding.level),
                        terminalSafe(finding.text).c_str());
        }
    }
}

std::string jsonReport(const std::vector<FileFindings>& files, int exitStatus) {
    std::string out = "{\"exitCode\":" + std::to_string(exitStatus) + ",\"files\":[";
    for (const FileFindings& file : files) {
        if (&file != &files.front()) out += ",";
        out += "{\"source\":" + quoted(file.source) + ",\"findings\":[";
        for (const Finding& finding : file.findings) {
            if (&finding != &file.findings.front()) out += ",";
            out += std::string("{\"rule\":\"") + ruleInfo(finding.rule).id + "\",\"level\":\"" +
                   levelName(finding.level) + "\",\"line\":" + numberOrNull(finding.line) +
                   ",\"column\":" + numberOrNull(finding.line > 0 ? finding.column : 0) +
                   ",\"message\":" + quoted(finding.text) + "}";
        }
        out += "]}";
    }
    return out + "]}";
}

std::string sarifRules() {
    std::string out;
    for (const RuleInfo& rule : kRules) {
        if (!out.empty()) out += ",";
        out += std::string("{\"id\":\"") + rule.id + "\",\"shortDescription\":{\"text\":" + quoted(rule.summary) +
               "},\"defaultConfiguration\":{\"level\":\"" + levelName(rule.level) + "\"}}";
    }
    return out;
}

// Code scanning places a result only by its region's line: one about the
// whole file stands at its first.
std::string sarifLocation(const FileFindings& file, const Finding& finding) {
    std::string out = "{\"physicalLocation\":{\"artifactLocation\":{\"uri\":" + quoted(file.uri) +
                      "},\"region\":{\"startLine\":" + std::to_string(finding.line > 0 ? finding.line : 1);
    if (finding.line > 0 && finding.column > 0) out += ",\"startColumn\":" + std::to_string(finding.column);
    return out + "}}}";
}

std::string sarifReport(const std::vector<FileFindings>& files) {
    std::string results;
    for (const FileFindings& file : files) {
        for (const Finding& finding : file.findings) {
            if (!results.empty()) results += ",";
            const auto index = std::distance(std::begin(kRules), &ruleInfo(finding.rule));
            results += std::string("{\"ruleId\":\"") + ruleInfo(finding.rule).id +
                       "\",\"ruleIndex\":" + std::to_string(index) + ",\"level\":\"" + levelName(finding.level) +
                       "\",\"message\":{\"text\":" + quoted(finding.text) + "},\"locations\":[" +
                       sarifLocation(file, finding) + "]}";
        }
    }
    return "{\"$schema\":\"https://json.schemastore.org/sarif-2.1.0.json\",\"version\":\"2.1.0\",\"runs\":[{"
           "\"tool\":{\"driver\":{\"name\":\"xloop-config\",\"version\":\"" XLOOP_TOOL_VERSION "\",\"rules\":[" +
           sarifRules() + "]}},\"columnKind\":\"unicodeCodePoints\",\"results\":[" + results + "]}]}";
}

}  // namespace

bool lintFormatOf(const std::string& name, LintFormat& format) {
    if (name == "text") format = LintFormat::Text;
    else if (name == "json") format = LintFormat::Json;
    else if (name == "sarif") format = LintFormat::Sarif;
    else return false;
    return true;
}

void printLintReport(LintFormat format, const std::vector<FileFindings>& files, int exitStatus) {
    if (format == LintFormat::Text) {
        printText(files);
    } else {
        const std::string report = format == LintFormat::Json ? jsonReport(files, exitStatus) : sarifReport(files);
        std::printf("%s\n", report.c_str());
    }
}

}  // namespace xloop_tool
