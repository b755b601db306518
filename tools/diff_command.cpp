#include "diff_command.h"

#include <cstdio>

#include "combinations.h"
#include "config_source.h"
#include "terminal_text.h"

namespace xloop_tool {
namespace {

struct LoadedFile {
    std::string name;
    ConfigSource source;
    FileSections listed;
};

LoadedFile load(const std::string& name) {
    LoadedFile file{name, loadConfigSource(name), {}};
    if (file.source.problem.empty()) file.listed = listSections(file.source.bytes);
    return file;
}

// Says what keeps the module from reading all of a file; false when it
// refuses the file as a whole.
bool noteProblem(const LoadedFile& file) {
    std::string problem = file.source.problem;
    if (problem.empty()) {
        const DocumentProblem document = problemOf(file.listed.read);
        problem = document.line > 0 ? "line " + std::to_string(document.line) + ": " + document.text : document.text;
    }
    if (!problem.empty()) std::printf("%s: %s\n", terminalSafe(file.name).c_str(), terminalSafe(problem).c_str());
    return file.source.problem.empty() && !refusedWhole(file.listed.read);
}

XLoop::ConfigValues resolvedIn(const LoadedFile& file, const Combination& combination) {
    XLoop::ConfigValues values;
    resolveCombination(file.source.bytes, combination, values);
    return values;
}

std::string roomOf(const XLoop::ConfigValues& values) {
    if (!values.killswitchFound) return "switched off (the read fails)";
    return XLoop::switchesRoomOff(values.killswitch.text) ? "switched off" : "shown";
}

// Each combination is a whole read of the file, as the module makes it: a
// large file naming very many would take hours, so past this many bytes read
// in all the tool says so and stops before it starts.
constexpr double kMaxBytesRead = 4.0 * 1024 * 1024 * 1024;

bool tooMuchToRead(const std::vector<Combination>& combinations, size_t bytesPerCombination) {
    if (static_cast<double>(combinations.size()) * static_cast<double>(bytesPerCombination) <= kMaxBytesRead) {
        return false;
    }
    std::printf("%s combinations in %s bytes: too many to read the file once for each\n",
                std::to_string(combinations.size()).c_str(), std::to_string(bytesPerCombination).c_str());
    return true;
}

bool namesUnnamed(const Combination& combination) {
    return combination.product == kUnnamed || combination.version == kUnnamed || combination.locale == kUnnamed;
}

void printLegend(bool unnamedShown) {
    if (unnamedShown) std::printf("(* stands for any product, version or locale not named)\n");
}

// The lines that differ between the two resolutions, "  name: old -> new".
std::string differences(const XLoop::ConfigValues& before, const XLoop::ConfigValues& after) {
    std::string lines;
    if (roomOf(before) != roomOf(after)) lines += "  room: " + roomOf(before) + " -> " + roomOf(after) + "\n";
    for (XLoop::ConfigKey key : XLoop::kConfigKeys) {
        if (before[key].text == after[key].text) continue;
        lines += std::string("  ") + XLoop::configKeyName(key) + ": " + shownValue(before[key].text) + " -> " +
                 shownValue(after[key].text) + "\n";
    }
    return lines;
}

}  // namespace

int runDiff(const std::string& oldSource, const std::string& newSource) {
    const LoadedFile before = load(oldSource);
    const LoadedFile after = load(newSource);
    const bool beforeRead = noteProblem(before);
    if (!noteProblem(after) || !beforeRead) return 2;
    const std::vector<Combination> combinations = combinationsOf(before.listed, after.listed);
    if (tooMuchToRead(combinations, before.source.bytes.size() + after.source.bytes.size())) return 2;
    size_t differing = 0;
    bool unnamedShown = false;
    for (const Combination& combination : combinations) {
        const std::string lines = differences(resolvedIn(before, combination), resolvedIn(after, combination));
        if (lines.empty()) continue;
        ++differing;
        unnamedShown = unnamedShown || namesUnnamed(combination);
        std::printf("%s\n%s", terminalSafe(labelOf(combination)).c_str(), lines.c_str());
    }
    if (differing == 0) {
        std::printf("no difference in %s combinations\n", std::to_string(combinations.size()).c_str());
        return 0;
    }
    std::printf("%s of %s combinations resolve differently\n", std::to_string(differing).c_str(),
                std::to_string(combinations.size()).c_str());
    printLegend(unnamedShown);
    return 1;
}

int runMatrix(const std::string& source) {
    const LoadedFile file = load(source);
    if (!noteProblem(file)) return 2;
    const std::vector<Combination> combinations = combinationsOf(file.listed);
    if (tooMuchToRead(combinations, file.source.bytes.size())) return 2;
    bool unnamedShown = false;
    for (const Combination& combination : combinations) {
        const XLoop::ConfigValues values = resolvedIn(file, combination);
        unnamedShown = unnamedShown || namesUnnamed(combination);
        std::printf("%s: room %s; killswitch %s, url %s, serverurl %s\n", terminalSafe(labelOf(combination)).c_str(),
                    roomOf(values).c_str(), shownValue(values.killswitch.text).c_str(),
                    shownValue(values.url.text).c_str(), shownValue(values.serverurl.text).c_str());
    }
    printLegend(unnamedShown);
    return 0;
}

}  // namespace xloop_tool
