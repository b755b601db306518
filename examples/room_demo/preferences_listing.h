// What the module's preferences file holds.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace xloop_demo {

using PreferenceEntries = std::vector<std::pair<std::string, std::string>>;

// The entries in the file's order; nothing when it is missing or does not
// read as XML.
std::optional<PreferenceEntries> readPreferenceEntries(const std::filesystem::path& file);

// "key = value" for each entry, or one line saying why there is none.
std::vector<std::string> preferencesListing(const std::filesystem::path& file);

}  // namespace xloop_demo
