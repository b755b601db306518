#include "combinations.h"

#include <set>
#include <tuple>

#include "base/ascii.h"
#include "config/section_rules.h"
#include "platform/xml_reader.h"

namespace xloop_tool {
namespace {

// Follows the element names and keeps the elements that name a combination.
class CombinationCollector final : public XLoop::platform::XmlElementVisitor {
public:
    explicit CombinationCollector(std::vector<Combination>& found) : found(found) {}

    bool wantsElement(const XLoop::platform::XmlElement& element) override {
        tracker.enter(element.localName, element.depth);
        const size_t levels = tracker.levels();
        if (levels == 1 && tracker.name(0) == XLoop::kRootName) add({});
        if (levels < 2 || levels > 4 || tracker.name(0) != XLoop::kRootName) return false;
        const std::string& product = tracker.name(1);
        if (product == XLoop::kDefaultsName) return false;
        if (levels == 2) return take({product, {}, {}});
        const std::string& versionName = tracker.name(2);
        if (versionName.compare(0, XLoop::kVersionPrefix.size(), XLoop::kVersionPrefix) != 0) return false;
        const std::string version = versionName.substr(XLoop::kVersionPrefix.size());
        // A version named "ver_" alone would read as any other version.
        if (version.empty()) return false;
        if (levels == 3) return take({product, version, {}});
        const std::string& locale = tracker.name(3);
        if (locale == XLoop::kDefaultsName || XLoop::lowerAscii(locale) != locale) return false;
        return take({product, version, locale});
    }

    void visitElement(const XLoop::platform::XmlElement& element) override {
        pending.line = element.line;
        add(pending);
    }

private:
    bool take(Combination combination) {
        if (named.count(std::tie(combination.product, combination.version, combination.locale)) != 0) return false;
        pending = std::move(combination);
        return true;
    }

    void add(const Combination& combination) {
        named.emplace(combination.product, combination.version, combination.locale);
        found.push_back(combination);
    }

    std::vector<Combination>& found;
    XLoop::SectionTracker tracker;
    std::set<std::tuple<std::string, std::string, std::string>> named;
    Combination pending;
};

// No element name holds a blank, so this matches none.
const char* lookupName(const std::string& name) {
    return name.empty() ? " " : name.c_str();
}

}  // namespace

std::vector<Combination> namedCombinations(const std::string& bytes) {
    std::vector<Combination> found;
    CombinationCollector collector(found);
    XLoop::platform::visitXmlElements(bytes.data(), bytes.size(), collector);
    return found;
}

std::string describeCombination(const Combination& combination) {
    if (combination.product.empty()) return "any other product";
    if (combination.version.empty()) return combination.product + ", any other version";
    if (combination.locale.empty()) return combination.product + " " + combination.version + ", any other locale";
    return combination.product + " " + combination.version + " " + combination.locale;
}

XLoop::ConfigValues resolveCombination(const std::string& bytes, const Combination& combination) {
    XLoop::ConfigValues values;
    values.killswitch.text = XLoop::kDefaultKillswitch;
    XLoop::readSectionValues(bytes, lookupName(combination.product), lookupName(combination.version),
                             lookupName(combination.locale), values);
    return values;
}

}  // namespace xloop_tool
