#include "near_miss.h"

#include <set>

#include "base/ascii.h"

namespace xloop_tool {
namespace {

using Names = std::set<std::string>;

std::string ticked(const std::string& name) {
    return "`" + name + "`";
}

// The name that differs from asked only in letter case; empty for none.
std::string caseTwin(const Names& names, const std::string& asked) {
    for (const std::string& name : names) {
        if (XLoop::lowerAscii(name) == XLoop::lowerAscii(asked)) return name;
    }
    return "";
}

// The twin of asked, or else all the names (the first few).
std::string existing(const Names& names, const std::string& asked) {
    const std::string twin = caseTwin(names, asked);
    if (!twin.empty()) return ticked(twin) + " exists";
    constexpr size_t kShown = 5;
    std::string text;
    size_t shown = 0;
    for (const std::string& name : names) {
        if (shown == kShown) {
            text += " and " + std::to_string(names.size() - kShown) + " more";
            break;
        }
        text += (shown++ > 0 ? ", " : "") + ticked(name);
    }
    return text + (names.size() == 1 ? " exists" : " exist");
}

bool misses(const Names& named, const std::string& asked) {
    return !named.empty() && named.count(asked) == 0;
}

}  // namespace

std::string nearMiss(const std::vector<FileSection>& sections, const Combination& asked) {
    using XLoop::SectionKind;
    Names products, versions, locales;
    for (const FileSection& section : sections) {
        if (section.kind == SectionKind::GeneralDefaults) continue;
        products.insert(section.product);
        if (section.product != asked.product || section.kind == SectionKind::ProductDefaults) continue;
        versions.insert(section.version);
        if (section.version == asked.version && section.kind == SectionKind::Locale) locales.insert(section.locale);
    }
    if (misses(products, asked.product)) {
        return "no product " + ticked(asked.product) + "; " + existing(products, asked.product) +
               ": only the general defaults apply";
    }
    if (misses(versions, asked.version)) {
        return "no version " + ticked(asked.version) + " of " + ticked(asked.product) + "; " +
               existing(versions, asked.version) + ": only the general and product defaults apply";
    }
    if (misses(locales, asked.locale)) {
        return "no locale " + ticked(asked.locale) + " for " + ticked(asked.product) + " version " +
               ticked(asked.version) + "; " + existing(locales, asked.locale) +
               (caseTwin(locales, asked.locale).empty() ? "" : ", but the module looks locales up in lower case") +
               ": only the defaults apply";
    }
    return "";
}

}  // namespace xloop_tool
