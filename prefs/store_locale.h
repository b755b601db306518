// Which locales may name a store's folder.
#pragma once

#include <string>

namespace VEQ {

// Whether the locale is a plain name: ASCII letters, digits, "_", "-", "."
// and "@", not starting with a dot, 1 to 64 characters. Anything else could
// lead out of the store's folder ("..", separators, drive letters, "\\?\").
bool isPlainLocaleName(const std::string& locale);

}  // namespace VEQ
