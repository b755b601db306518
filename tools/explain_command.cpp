#include "explain_command.h"

#include <cstdio>

#include "base/ascii.h"
#include "combinations.h"
#include "terminal_text.h"

namespace xloop_tool {
namespace {

using XLoop::ConfigKey;
using XLoop::SectionKind;

struct TakenValue {
    ConfigKey key;
    std::string text;
};

struct TakenSection {
    std::string path;
    int line;
    std::vector<TakenValue> values;
};

// The sections the module's own read takes, as it reports them.
class TakenSections final : public XLoop::SectionTrace {
public:
    void sectionApplies(const XLoop::SectionPlace& place, int line) override {
        taken.push_back({XLoop::sectionPath(place), line, {}});
    }
    void valueTaken(ConfigKey key, const XLoop::ConfigValue& value) override {
        taken.back().values.push_back({key, value.text});
    }

    std::vector<TakenSection> taken;
};

// The line of the first section after taken[index] that gives key; 0 for none.
int overriddenAt(const std::vector<TakenSection>& taken, size_t index, ConfigKey key) {
    for (size_t later = index + 1; later < taken.size(); ++later) {
        for (const TakenValue& value : taken[later].values) {
            if (value.key == key) return taken[later].line;
        }
    }
    return 0;
}

std::string scopeOf(const FileSection& section) {
    switch (section.kind) {
        case SectionKind::ProductDefaults:
            return "product " + section.product;
        case SectionKind::VersionDefaults:
            return "product " + section.product + ", version " + section.version;
        case SectionKind::Locale:
            return "product " + section.product + ", version " + section.version + ", locale " + section.locale;
        default:
            return "every product";
    }
}

// The first of the section's names that differs from the one asked for.
std::string mismatchOf(const FileSection& section, const Combination& asked) {
    if (section.product != asked.product) return "product " + section.product + ", not " + asked.product;
    if (section.version != asked.version) return "version " + section.version + ", not " + asked.version;
    return "locale " + section.locale + ", not " + asked.locale;
}

void printLine(const std::string& line) {
    std::printf("%s\n", terminalSafe(line).c_str());
}

void printTaken(const FileSection& section, const std::vector<TakenSection>& taken, size_t index) {
    std::vector<std::string> valueLines;
    bool kept = false;
    for (const TakenValue& value : taken[index].values) {
        const int by = overriddenAt(taken, index, value.key);
        kept = kept || by == 0;
        valueLines.push_back(std::string("  ") + XLoop::configKeyName(value.key) + " " + shownValue(value.text) +
                             ": " + (by == 0 ? "taken" : "overridden at line " + std::to_string(by)));
    }
    const char* status = valueLines.empty() ? "applies, gives no value" : kept ? "applied" : "overridden";
    printLine("line " + std::to_string(section.line) + " " + pathOf(section) + ": " + status + " (" +
              scopeOf(section) + ")");
    for (const std::string& line : valueLines) std::printf("%s\n", line.c_str());
}

}  // namespace

int runExplain(const ResolveRequest& request) {
    TakenSections trace;
    const Resolution resolution = resolveSource(loadConfigSource(request.source), request, &trace);
    const Combination asked{request.product, request.version, XLoop::lowerAscii(request.locale)};
    size_t next = 0;
    for (const FileSection& section : resolution.sections) {
        const bool taken = next < trace.taken.size() && trace.taken[next].line == section.line &&
                           trace.taken[next].path == pathOf(section);
        if (taken) {
            printTaken(section, trace.taken, next++);
        } else {
            printLine("line " + std::to_string(section.line) + " " + pathOf(section) + ": skipped (" +
                      mismatchOf(section, asked) + ")");
        }
    }
    printResolution(resolution, request);
    return resolutionStatus(resolution);
}

}  // namespace xloop_tool
