// The checks lint makes on each element of a configuration file: whether the
// module can ever read it, and what it makes of its attributes.
#pragma once

#include <string>
#include <vector>

#include "config/section_rules.h"
#include "lint_findings.h"
#include "platform/xml_reader.h"

namespace xloop_tool {

// A section the module can read, for the checks that compare sections.
struct SeenSection {
    XLoop::SectionKind kind;
    std::string product;
    std::string version;
    std::string locale;
    int line;
    std::string path;
    bool gives[3];  // by key, in the order of XLoop::kConfigKeys
};

class ElementChecks final : public XLoop::platform::XmlElementVisitor {
public:
    explicit ElementChecks(Findings& findings) : findings(findings) {}

    void visitElement(const XLoop::platform::XmlElement& element) override;

    const std::vector<SeenSection>& sections() const { return seen; }

private:
    // What an element is to the module. Below an unread element nothing is
    // reported again.
    enum class Role { Container, Section, Unread };

    Role roleOf(const XLoop::platform::XmlElement& element, const XLoop::SectionPlace& place, size_t level);
    void checkSection(const XLoop::platform::XmlElement& element, const XLoop::SectionPlace& place);
    void checkContainer(const XLoop::platform::XmlElement& element);
    void misplacedVersion(const std::string& name, int line, size_t level, Role parent);

    Findings& findings;
    XLoop::SectionTracker tracker;
    std::vector<Role> roles;  // by level, root first
    std::vector<SeenSection> seen;
};

}  // namespace xloop_tool
