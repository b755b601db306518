#include "examples/room_demo/preferences_listing.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

namespace xloop_demo {
namespace {

std::string textOf(const xmlChar* text) {
    return text != nullptr ? reinterpret_cast<const char*>(text) : "";
}

}  // namespace

std::optional<PreferenceEntries> readPreferenceEntries(const std::filesystem::path& file) {
    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    xmlDocPtr document = xmlReadFile(file.c_str(), nullptr, options);
    if (document == nullptr) return std::nullopt;
    PreferenceEntries entries;
    xmlNodePtr root = xmlDocGetRootElement(document);
    for (xmlAttrPtr entry = root != nullptr ? root->properties : nullptr; entry != nullptr; entry = entry->next) {
        xmlChar* value = xmlNodeListGetString(document, entry->children, 1);
        entries.emplace_back(textOf(entry->name), textOf(value));
        xmlFree(value);
    }
    xmlFreeDoc(document);
    return entries;
}

std::vector<std::string> preferencesListing(const std::filesystem::path& file) {
    if (!std::filesystem::exists(file)) return {"(no file yet)"};
    const std::optional<PreferenceEntries> entries = readPreferenceEntries(file);
    if (!entries) return {"(the file does not read as XML)"};
    if (entries->empty()) return {"(no entries)"};
    std::vector<std::string> lines;
    for (const auto& [key, value] : *entries) lines.push_back(key + " = " + value);
    return lines;
}

}  // namespace xloop_demo
