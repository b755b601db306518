// How much one preference store holds. Within these limits the file the store
// writes loads back whole on both platforms, with room to spare: libxml2
// refuses names past 50,000 bytes and, as a file is parsed in one piece,
// files past 10,000,000 bytes; wine's XmlLite takes both past 64 MiB but
// crashes on a run of about 387,000 character references in one value,
// which a value of as many "&" or quotes becomes.
#pragma once

#include <cstddef>

#include "base/xml_attribute_scan.h"

namespace XLoop {

constexpr size_t kMaxPreferenceKeyBytes = 1024;
constexpr size_t kMaxPreferenceValueBytes = 256 * 1024;
// The file holds one element with an attribute per entry.
constexpr size_t kMaxPreferenceEntries = kMaxAttributesPerElement;
// The file as written, escapes included; a larger file is not read.
constexpr size_t kMaxPreferencesFileBytes = 8 * 1024 * 1024;

}  // namespace XLoop
