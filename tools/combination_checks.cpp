#include "combination_checks.h"

#include <map>
#include <vector>

#include "resolved_combinations.h"

namespace xloop_tool {
namespace {

// The combinations shown without a url, by the line of the section whose
// killswitch shows them.
using Unaddressed = std::map<int, std::vector<std::string>>;

void reportUnaddressed(const Unaddressed& unaddressed, Findings& findings) {
    constexpr size_t kNamedAtMost = 5;
    for (const auto& [line, names] : unaddressed) {
        std::string list;
        for (size_t i = 0; i < names.size() && i < kNamedAtMost; ++i) list += (i > 0 ? "; " : "") + names[i];
        if (names.size() > kNamedAtMost) list += "; and " + std::to_string(names.size() - kNamedAtMost) + " more";
        findings.error(Rule::NoUrl, line,
                       "the killswitch here shows the room, but no section gives it a url, for: " + list);
    }
}

}  // namespace

void checkCombinations(const std::string& bytes, Findings& findings) {
    const std::vector<ResolvedCombination> combinations = resolveCombinations(listSections(bytes));
    if (combinations.empty()) return;
    bool shownSomewhere = false;
    bool killswitchGiven = false;
    Unaddressed unaddressed;
    for (const auto& [combination, values] : combinations) {
        killswitchGiven = killswitchGiven || values.killswitchFound;
        if (!values.killswitchFound || XLoop::switchesRoomOff(values.killswitch.text)) continue;
        shownSomewhere = true;
        if (values.url.text.empty()) unaddressed[values.killswitch.line].push_back(describeCombination(combination));
    }
    reportUnaddressed(unaddressed, findings);
    if (shownSomewhere) return;
    findings.warning(Rule::RoomOffEverywhere, 0,
                     killswitchGiven ? "the killswitch is \"on\" for every product, version and locale the file "
                                       "names: the room shows nowhere"
                                     : "no section gives a killswitch: the module's read fails and the room stays "
                                       "switched off for every product, version and locale");
}

}  // namespace xloop_tool
