// WebKit's reading of an address, as pods/common/owned_pages.h keys it.
#pragma once

#include <string>

namespace veqpod_webkit {

// The key of uri as WebKit reads the address when it loads it: its security
// origin, its writing of a file URL.
std::string pageKey(const char* uri);

}  // namespace veqpod_webkit
