// VEQConfig.xml: the room's kill switch, URL and server URL for several
// products, versions and locales in one file, read from a file URL or over
// http(s).
#pragma once

#include <cstddef>
#include <string>

#include "base/xml_attribute_scan.h"
#include "config/section_rules.h"
#include "platform/http_client.h"
#include "platform/xml_reader.h"

namespace XLoop {

// A configuration file larger than this is refused, from a server or a disk.
constexpr size_t kMaxRemoteConfigBytes = 16 * 1024 * 1024;

struct ConfigFetch {
    bool ok = false;
    bool tooLarge = false;  // refused for its size alone
    // Over http(s): how the exchange ended, and the address that answered
    // last, after any redirects.
    platform::StepResult exchange = platform::StepResult::success();
    std::string finalURL;
};

// Reads the whole resource at url into buffer (emptied first). A file URL
// reads its file (an existing empty file is a successful read) if it is a
// regular file of at most kMaxRemoteConfigBytes; any other URL
// is fetched with GET, redirects followed, and counts only when a 2xx answer
// brings a whole, non-empty body of at most kMaxRemoteConfigBytes. A
// cancellation aborts a transfer at once. Failures are logged.
ConfigFetch fetchConfigBytes(const char* url, std::string& buffer, platform::HttpCancellation& cancellation);
bool readURLToMemory(const char* url, std::string& buffer, platform::HttpCancellation& cancellation);

// A value, and the section that gave it.
struct ConfigValue {
    std::string text;
    int line = 0;  // of the section's start tag; 0 while no section gave one
    SectionKind section = SectionKind::None;
};

struct ConfigValues {
    ConfigValue killswitch;
    ConfigValue url;
    ConfigValue serverurl;
    bool killswitchFound = false;

    ConfigValue& operator[](ConfigKey key);
    const ConfigValue& operator[](ConfigKey key) const;
};

// How the sections of a text were read.
struct SectionsRead {
    AttributeScan prescan = AttributeScan::Within;  // the text is parsed only when Within
    platform::StepResult parse = platform::StepResult::success();
    platform::XmlStop stop;
};

// Told of each section a read takes, as it takes it: for the tools that show
// why a value won. A read without one pays a null check per section taken.
class SectionTrace {
public:
    // A section that applies, before its values are taken.
    virtual void sectionApplies(const SectionPlace& place, int line) = 0;
    // A value it gives, replacing the one before.
    virtual void valueTaken(ConfigKey key, const ConfigValue& value) = 0;

protected:
    ~SectionTrace() = default;
};

// Reads the sections of a configuration text that apply to product, version
// and locale (the lower-cased one) in document order, each value met
// replacing the one in values, and notes whether a section gave a kill
// switch. Values met before a fault in the text stay. A text whose elements
// carry too many attributes to parse quickly, or whose encoding hides them
// from that count, is refused unread.
SectionsRead readSectionValues(const std::string& bytes, const char* product, const char* version,
                               const char* locale, ConfigValues& values, SectionTrace* trace = nullptr);

// The same, with only the texts of the values; true when a section gave a
// kill switch.
bool readConfigSections(const std::string& bytes, const char* product, const char* version, const char* locale,
                        std::string& killswitch, std::string& urlValue, std::string& serverurl);

// Reads the sections of the file at url that apply to product, version and
// locale, as readConfigSections does.
bool readConfigFile(const char* url, const char* product, const char* version, const char* locale,
                    std::string& killswitch, std::string& urlValue, std::string& serverurl,
                    platform::HttpCancellation& cancellation);

}  // namespace XLoop
