#include "resolve_command.h"

#include <cstdio>

#include "base/address_ambiguity.h"
#include "base/ascii.h"
#include "config/config_file.h"
#include "combinations.h"
#include "near_miss.h"
#include "page/script_object.h"
#include "terminal_text.h"

namespace xloop_tool {
namespace {

std::string quoted(std::string_view text) {
    std::string out;
    XLoop::quoteJsonString(text, out);
    return out;
}

std::string sectionOf(const XLoop::ConfigValue& value, const ResolveRequest& request, const std::string& locale) {
    return XLoop::sectionPath({value.section, request.product, request.version, locale});
}

// Why the module takes no room address from this url; null when it takes it.
const char* refusalOf(XLoop::ConfigKey key, const XLoop::ConfigValue& value) {
    return key == XLoop::ConfigKey::Url ? XLoop::addressAmbiguity(value.text) : nullptr;
}

std::string resultText(const Resolution& resolution) {
    if (!resolution.values.killswitchFound) {
        return !resolution.problem.text.empty() ? "the read fails: the room stays switched off"
                       : "the read fails: no section for this product, version and locale gives a killswitch; "
                         "the room stays switched off";
    }
    return XLoop::switchesRoomOff(resolution.values.killswitch.text) ? "read: the room is switched off"
                                                                      : "read: the room is shown";
}

}  // namespace

void printResolution(const Resolution& resolution, const ResolveRequest& request) {
    const std::string locale = XLoop::lowerAscii(request.locale);
    for (XLoop::ConfigKey key : XLoop::kConfigKeys) {
        const XLoop::ConfigValue& value = resolution.values[key];
        std::string from = value.line > 0 ? "line " + std::to_string(value.line) + ": " +
                                                sectionOf(value, request, locale)
                                          : "default: no section gives it";
        if (const char* refusal = refusalOf(key, value)) from += std::string("; refused as empty: ") + refusal;
        std::printf("%s: %s (%s)\n", XLoop::configKeyName(key), terminalSafe(quoted(value.text)).c_str(),
                    terminalSafe(from).c_str());
    }
    if (!resolution.problem.text.empty()) {
        const int line = resolution.problem.line;
        std::printf("problem: %s%s\n", line > 0 ? ("line " + std::to_string(line) + ": ").c_str() : "",
                    terminalSafe(resolution.problem.text).c_str());
    }
    if (!resolution.warning.empty()) std::printf("warning: %s\n", terminalSafe(resolution.warning).c_str());
    std::printf("result: %s\n", resultText(resolution).c_str());
}

namespace {

std::string jsonLine(int line) {
    return line > 0 ? std::to_string(line) : "null";
}

void printJson(const Resolution& resolution, const ResolveRequest& request, const std::string& locale) {
    std::string out = "{\"source\":" + quoted(request.source) + ",\"product\":" + quoted(request.product) +
                      ",\"version\":" + quoted(request.version) + ",\"locale\":" + quoted(locale) +
                      ",\"read\":" + (resolution.values.killswitchFound ? "true" : "false") +
                      ",\"roomSwitchedOff\":" +
                      (XLoop::switchesRoomOff(resolution.values.killswitch.text) ? "true" : "false");
    for (XLoop::ConfigKey key : XLoop::kConfigKeys) {
        const XLoop::ConfigValue& value = resolution.values[key];
        const std::string section = value.line > 0 ? quoted(sectionOf(value, request, locale)) : "null";
        const char* refusal = refusalOf(key, value);
        out += ",\"" + std::string(XLoop::configKeyName(key)) + "\":{\"value\":" + quoted(value.text) +
               ",\"line\":" + jsonLine(value.line) + ",\"section\":" + section +
               (refusal != nullptr ? ",\"refused\":" + quoted(refusal) : "") + "}";
    }
    const DocumentProblem& problem = resolution.problem;
    out += ",\"problem\":";
    out += problem.text.empty() ? "null"
                                : "{\"line\":" + jsonLine(problem.line) + ",\"text\":" + quoted(problem.text) + "}";
    if (!resolution.warning.empty()) out += ",\"warning\":" + quoted(resolution.warning);
    std::printf("%s}\n", out.c_str());
}

}  // namespace

Resolution resolveSource(const ConfigSource& source, const ResolveRequest& request, XLoop::SectionTrace* trace) {
    const Combination asked{request.product, request.version, XLoop::lowerAscii(request.locale)};
    Resolution resolution;
    resolution.fetched = source.fetched;
    // A file the module refuses, or one that never came, gives the starting values.
    const XLoop::SectionsRead read =
        resolveCombination(source.problem.empty() ? source.bytes : std::string(), asked, resolution.values, trace);
    if (!source.problem.empty()) {
        resolution.problem.text = source.problem;
        return resolution;
    }
    resolution.problem = problemOf(read);
    resolution.sections = listSections(source.bytes).sections;
    resolution.warning = nearMiss(resolution.sections, asked);
    return resolution;
}

int resolutionStatus(const Resolution& resolution) {
    if (!resolution.fetched) return 2;
    return resolution.values.killswitchFound ? 0 : 1;
}

int runResolve(const ResolveRequest& request) {
    const Resolution resolution = resolveSource(loadConfigSource(request.source), request);
    if (request.json) {
        printJson(resolution, request, XLoop::lowerAscii(request.locale));
    } else {
        printResolution(resolution, request);
    }
    return resolutionStatus(resolution);
}

}  // namespace xloop_tool
