// VEQConfig.xml: the room's kill switch, URL and server URL for several
// products, versions and locales in one file, read from a file URL or over
// http(s).
#pragma once

#include <cstddef>
#include <string>

#include "platform/http_client.h"

namespace XLoop {

// A configuration file larger than this is refused, from a server or a disk.
constexpr size_t kMaxRemoteConfigBytes = 16 * 1024 * 1024;

// Reads the whole resource at url into buffer (emptied first). A file URL
// reads its file (an existing empty file is a successful read) if it is a
// regular file of at most kMaxRemoteConfigBytes; any other URL
// is fetched with GET, redirects followed, and counts only when a 2xx answer
// brings a whole, non-empty body of at most kMaxRemoteConfigBytes. A
// cancellation aborts a transfer at once.
bool readURLToMemory(const char* url, std::string& buffer, platform::HttpCancellation& cancellation);

// Reads the sections of a configuration text that apply to product, version
// and locale, as readConfigFile does with the text it fetched. A text whose
// elements carry too many attributes to parse quickly is refused unread.
bool readConfigSections(const std::string& bytes, const char* product, const char* version, const char* locale,
                        std::string& killswitch, std::string& urlValue, std::string& serverurl);

// Reads the sections of the file at url that apply to product, version and
// locale (the lower-cased one) in document order, overwriting killswitch,
// urlValue and serverurl with every value met, and tells whether any section
// gave a kill switch. Values met before a fault in the file stay.
bool readConfigFile(const char* url, const char* product, const char* version, const char* locale,
                    std::string& killswitch, std::string& urlValue, std::string& serverurl,
                    platform::HttpCancellation& cancellation);

}  // namespace XLoop
