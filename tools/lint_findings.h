// What lint found in one file: each finding with its rule, its level and,
// where known, its line and column.
#pragma once

#include <iterator>
#include <string>
#include <vector>

namespace xloop_tool {

enum class Level { Note, Warning, Error };

// Every kind of finding, with a stable id that reports and code-scanning
// tools key on.
enum class Rule {
    UnreadableFile,
    RefusedFile,
    BrokenXml,
    EncodingError,
    WrongRoot,
    IgnoredAttribute,
    KillswitchValue,
    NotHttps,
    AmbiguousAddress,
    UnreadElement,
    VersionLevel,
    DuplicateSection,
    OverriddenValue,
    RoomOffEverywhere,
    NoUrl,
    Redirected,
};

struct RuleInfo {
    Rule rule;
    const char* id;
    const char* summary;
    Level level;  // the usual one; a finding may carry another
};
inline constexpr RuleInfo kRules[] = {
    {Rule::UnreadableFile, "unreadable-file", "The file cannot be fetched or read", Level::Error},
    {Rule::RefusedFile, "refused-file", "The module refuses the whole file", Level::Error},
    {Rule::BrokenXml, "broken-xml", "The XML breaks: the module reads only the sections before the fault",
     Level::Error},
    {Rule::EncodingError, "encoding-error",
     "A byte the file's encoding does not allow: the XML reader stops there or misreads it", Level::Error},
    {Rule::WrongRoot, "wrong-root", "The root element is not <veqconfig>: no section is read", Level::Error},
    {Rule::IgnoredAttribute, "ignored-attribute", "An attribute the module ignores", Level::Warning},
    {Rule::KillswitchValue, "killswitch-value", "A killswitch other than exactly \"on\" or \"off\"", Level::Warning},
    {Rule::NotHttps, "not-https", "A url or serverurl that is not https", Level::Warning},
    {Rule::AmbiguousAddress, "ambiguous-address", "An address two URL parsers may read as two addresses",
     Level::Error},
    {Rule::UnreadElement, "unread-element", "An element the module never reads", Level::Warning},
    {Rule::VersionLevel, "version-level", "A version element at a level where it is not read as a version",
     Level::Warning},
    {Rule::DuplicateSection, "duplicate-section", "A section given twice", Level::Warning},
    {Rule::OverriddenValue, "overridden-value", "A value a later, more general section overrides", Level::Warning},
    {Rule::RoomOffEverywhere, "room-off-everywhere",
     "The room is switched off for every product, version and locale the file names", Level::Warning},
    {Rule::NoUrl, "no-url", "A combination whose room is shown without a url", Level::Error},
    {Rule::Redirected, "redirected", "The file was read from another address after redirects", Level::Note},
};
const RuleInfo& ruleInfo(Rule rule);

struct Finding {
    Rule rule;
    Level level;
    int line;    // 0 for the whole file
    int column;  // 0 when not known
    std::string text;
};

class Findings {
public:
    void note(Rule rule, int line, std::string text) { add({rule, Level::Note, line, 0, std::move(text)}); }
    void warning(Rule rule, int line, std::string text) { add({rule, Level::Warning, line, 0, std::move(text)}); }
    void error(Rule rule, int line, std::string text) { add({rule, Level::Error, line, 0, std::move(text)}); }
    void add(Finding finding);

    // In line order, those of one line in the order they were found.
    std::vector<Finding> ordered() const;
    bool hasError() const;

private:
    std::vector<Finding> found;
};

// 2 with an error, 1 with warnings only, 0 otherwise.
int exitStatusOf(const std::vector<Finding>& findings);

}  // namespace xloop_tool
