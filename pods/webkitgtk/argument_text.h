// The text in which an action handler receives the page's arguments.
#pragma once

#include <map>
#include <string>

namespace veqpod_webkit {

// A one-level object of texts as the module reads it: keys in ascending byte
// order, `"key":"value"` pairs joined by a comma and one blank, \" \\ \b \f
// \n \r \t escaped, other control bytes as \u00XX, every other byte as is.
std::string writeArgumentText(const std::map<std::string, std::string>& pairs);

}  // namespace veqpod_webkit
