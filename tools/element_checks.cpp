#include "element_checks.h"

#include "base/address_ambiguity.h"
#include "base/ascii.h"

namespace xloop_tool {
namespace {

using XLoop::ConfigKey;
using XLoop::SectionKind;

std::string tag(std::string_view name) {
    return "<" + std::string(name) + ">";
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

bool isVersionName(const std::string& name) {
    return name.compare(0, XLoop::kVersionPrefix.size(), XLoop::kVersionPrefix) == 0;
}

void checkValue(ConfigKey key, const std::string& value, int line, Findings& findings) {
    const std::string name = XLoop::configKeyName(key);
    if (key == ConfigKey::Killswitch) {
        if (value != "on" && value != "off") {
            findings.warning(Rule::KillswitchValue, line, "killswitch " + quoted(value) +
                                       " is neither \"on\" nor \"off\": only the exact \"on\" switches the room "
                                       "off, so this leaves it on");
        }
        return;
    }
    if (const char* ambiguity = XLoop::addressAmbiguity(value)) {
        // The module refuses such a room address; the server address is the host's to read.
        const std::string text = name + " " + quoted(value) + " can be read as more than one address: " + ambiguity;
        if (key == ConfigKey::Url) {
            findings.error(Rule::AmbiguousAddress, line, text + ", so the module takes no room address");
        } else {
            findings.warning(Rule::AmbiguousAddress, line, text);
        }
    } else if (!value.empty() && !XLoop::startsWithIgnoringCase(value, "https://")) {
        findings.warning(Rule::NotHttps, line, name + " " + quoted(value) + " is not https");
    }
}

}  // namespace

void ElementChecks::visitElement(const XLoop::platform::XmlElement& element) {
    const XLoop::SectionPlace place = tracker.enter(element.localName, element.depth);
    const size_t level = tracker.levels() - 1;
    roles.resize(level + 1);
    roles[level] = roleOf(element, place, level);
    if (roles[level] == Role::Section) checkSection(element, place);
    if (roles[level] == Role::Container) checkContainer(element);
}

ElementChecks::Role ElementChecks::roleOf(const XLoop::platform::XmlElement& element,
                                          const XLoop::SectionPlace& place, size_t level) {
    const std::string name(element.localName);
    if (level == 0) {
        if (name == XLoop::kRootName) return Role::Container;
        findings.error(Rule::WrongRoot, element.line,
                       "the root element " + tag(name) +
                           " is not <veqconfig>: the module reads no section of this file");
        return Role::Unread;
    }
    const Role parent = roles[level - 1];
    if (parent == Role::Unread) return Role::Unread;
    if (isVersionName(name) && (level == 1 || place.kind == SectionKind::Locale || parent == Role::Section)) {
        misplacedVersion(name, element.line, level, parent);
        return Role::Unread;
    }
    if (place.kind == SectionKind::Locale && XLoop::lowerAscii(name) != name) {
        findings.warning(Rule::UnreadElement, element.line,
                         "element " + tag(name) + " never matches: the module looks the locale up in lower case, as " +
                             tag(XLoop::lowerAscii(name)));
        return Role::Unread;
    }
    if (place.kind != SectionKind::None) return Role::Section;
    if (parent == Role::Section || level > 2) {
        findings.warning(Rule::UnreadElement, element.line,
                         "element " + tag(name) + " is never read: a section holds no elements");
        return Role::Unread;
    }
    if (level == 2 && !isVersionName(name)) {
        findings.warning(Rule::UnreadElement, element.line, "element " + tag(name) +
                                           " is never read: version elements are named \"ver_\" followed by the "
                                           "version");
        return Role::Unread;
    }
    return Role::Container;
}

// A version element where the module reads it as something else, or not at
// all, and where it belongs instead.
void ElementChecks::misplacedVersion(const std::string& name, int line, size_t level, Role parent) {
    const bool inProduct = level >= 2 && tracker.name(1) != XLoop::kDefaultsName;
    const std::string intoProduct =
        inProduct ? "move it into " + tag(tracker.name(1))
                  : "move it into its product's element, as <veqconfig><PRODUCT>" + tag(name);
    std::string text;
    if (parent == Role::Section) {
        text = "element " + tag(name) + " is never read: a section holds no elements; " + intoProduct;
    } else if (level == 1) {
        text = "element " + tag(name) + " is read as a product, not as a version: " + intoProduct;
    } else {
        text = "element " + tag(name) + " is read as a locale of " + tag(tracker.name(2)) + ", not as a version: " +
               intoProduct + ", beside " + tag(tracker.name(2));
    }
    findings.warning(Rule::VersionLevel, line, text);
}

void ElementChecks::checkSection(const XLoop::platform::XmlElement& element, const XLoop::SectionPlace& place) {
    SeenSection section{place.kind,   std::string(place.product), std::string(place.version),
                        std::string(place.locale), element.line, XLoop::sectionPath(place), {}};
    for (const auto& [name, value] : element.attributes) {
        const ConfigKey key = XLoop::configKeyOf(name);
        if (key != ConfigKey::None) {
            section.gives[static_cast<int>(key)] = true;
            checkValue(key, value, element.line, findings);
        } else if (XLoop::configKeyOf(XLoop::lowerAscii(name)) != ConfigKey::None) {
            findings.warning(Rule::IgnoredAttribute, element.line,
                             "attribute " + quoted(name) + " is ignored: the module reads " +
                                 quoted(XLoop::lowerAscii(name)) + ", in lower case");
        } else {
            findings.warning(Rule::IgnoredAttribute, element.line,
                             "attribute " + quoted(name) +
                                 " is ignored: the module reads only killswitch, url and serverurl");
        }
    }
    seen.push_back(std::move(section));
}

void ElementChecks::checkContainer(const XLoop::platform::XmlElement& element) {
    for (const auto& attribute : element.attributes) {
        findings.warning(Rule::IgnoredAttribute, element.line,
                         "attribute " + quoted(attribute.first) + " on " + tag(element.localName) +
                             " is ignored: only <defaults> and locale elements give values");
    }
}

}  // namespace xloop_tool
