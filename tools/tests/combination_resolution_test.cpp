// lint resolves every combination from the listed sections at once; the
// module reads the file for one. They must give the same values, whatever
// state the file is in.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "resolved_combinations.h"

namespace xloop_tool {
namespace {

std::string shown(const XLoop::ConfigValues& values) {
    std::string text = values.killswitchFound ? "found" : "not found";
    for (XLoop::ConfigKey key : XLoop::kConfigKeys) {
        const XLoop::ConfigValue& value = values[key];
        text += std::string("; ") + XLoop::configKeyName(key) + " \"" + value.text + "\" line " +
                std::to_string(value.line) + " kind " + std::to_string(static_cast<int>(value.section));
    }
    return text;
}

// Returns how many combinations it compared.
size_t expectModuleValues(const std::string& name, const std::string& bytes) {
    const std::vector<ResolvedCombination> resolved = resolveCombinations(listSections(bytes));
    for (const auto& [combination, values] : resolved) {
        XLoop::ConfigValues read;
        resolveCombination(bytes, combination, read);
        EXPECT_EQ(shown(values), shown(read)) << name << ": " << labelOf(combination);
    }
    return resolved.size();
}

TEST(CombinationResolution, GivesTheModuleReadersValuesForEveryCorpusFile) {
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(XLOOP_CONFIG_CORPUS_DIR)) {
        if (entry.path().extension() != ".xml") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        expectModuleValues(entry.path().filename().string(), bytes);
        ++files;
    }
    EXPECT_GT(files, 10u);
}

// Sections out of order and repeated, a product given twice, versions and
// defaults where the module reads them as something else, a version named
// "ver_" alone, a product named "defaults", a locale in upper case, one
// attribute name given twice through namespaces, and a tail that breaks.
TEST(CombinationResolution, GivesTheModuleReadersValuesForAFileFullOfQuirks) {
    const std::string quirks = R"(<?xml version="1.0" encoding="UTF-8"?>
<veqconfig xmlns:a="urn:a" xmlns:b="urn:b">
  <defaults killswitch="on" url="https://g/1"/>
  <Studio>
    <defaults killswitch="off"/>
    <ver_17.0>
      <en_us url="https://l/1"/>
      <defaults url="https://v/1" serverurl="https://s/1"/>
      <en_us killswitch="on"/>
      <EN_US killswitch="off" url="https://upper/1"/>
      <ver_18.0 url="https://l/3"/>
      <de_de a:killswitch="on" b:killswitch="off"><defaults killswitch="on" url="https://deep/1"/></de_de>
    </ver_17.0>
    <ver_ killswitch="on"><defaults url="https://empty/1"/><fr_fr killswitch="on"/></ver_>
  </Studio>
  <ver_16.0><en_us killswitch="off"/><defaults url="https://p/2"/></ver_16.0>
  <defaults><defaults url="https://dd/1"/><ver_1><defaults killswitch="off"/></ver_1></defaults>
  <Paint><ver_1><de_de killswitch="on"/></ver_1><defaults killswitch="off" url="https://p/3"/></Paint>
  <Studio><ver_17.0><de_de serverurl="https://l/4"/></ver_17.0><defaults serverurl="https://p/4"/></Studio>
  <defaults serverurl="https://g/2"/>
  <Paint><ver_1><en_us url="https://l/5"/><de_de url="https://l/6" </ver_1></Paint>
</veqconfig>
)";
    EXPECT_GT(expectModuleValues("quirks", quirks), 10u);
}

}  // namespace
}  // namespace xloop_tool
