// Every section of a configuration file the module can read, in document
// order, whatever product, version and locale it is for.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "config/config_file.h"

namespace xloop_tool {

struct FileSection {
    XLoop::SectionKind kind;
    std::string product;
    std::string version;
    std::string locale;  // as the element is named
    int line;
    // The values it gives, in the order its attributes come.
    std::vector<std::pair<XLoop::ConfigKey, std::string>> values;
};

struct FileSections {
    // None when the module refuses the text; only those before a fault
    // when the XML breaks, as the module reads them.
    std::vector<FileSection> sections;
    XLoop::SectionsRead read;
    bool rooted = false;  // the root is <veqconfig>
};

FileSections listSections(const std::string& bytes);

// Hands the elements of bytes to visitor as the module's reader takes them:
// not at all when the module refuses the text unread.
XLoop::SectionsRead visitAsTheModule(const std::string& bytes, XLoop::platform::XmlElementVisitor& visitor);

// Whether the module refuses the whole text, unparsed or for a DOCTYPE.
bool refusedWhole(const XLoop::SectionsRead& read);

std::string pathOf(const FileSection& section);

}  // namespace xloop_tool
