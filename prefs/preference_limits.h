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
// The file as written, escapes included; a larger file is not read. Entries
// the file cannot carry count by their size in memory.
constexpr size_t kMaxPreferencesFileBytes = 8 * 1024 * 1024;

// The room page's share of a store: what its writes (and the defaults of its
// reads) may fill. The rest belongs to the host's own entries, so a page that
// fills its share never starves them: "forcexloopview" ("false" at most) and
// the cached "killswitch", "url" and "serverurl", each at most a value of
// kMaxPreferenceValueBytes, which, every byte a quote written as "&quot;",
// takes six times that in the file: 4.5 MiB for the three. The
// "lastViewedCardID" default the module stores is the page's key but an
// empty value, some twenty bytes. 3 MiB for the page leaves the host all of
// that and about half a MiB to spare; of the entries, the host needs five.
constexpr size_t kMaxPagePreferenceBytes = 3 * 1024 * 1024;
constexpr size_t kMaxPagePreferenceEntries = kMaxPreferenceEntries - 100;

constexpr size_t kMaxHostEntryBytes = 64 + 6 * kMaxPreferenceValueBytes;  // blank, key, quotes, escaped value
// The three cached values at their largest; "forcexloopview", the empty
// "lastViewedCardID" and the document's own text take less than 1 KiB.
static_assert(kMaxPagePreferenceBytes + 3 * kMaxHostEntryBytes + 1024 <= kMaxPreferencesFileBytes,
              "the host's entries at their largest fit beside the page's share");

}  // namespace XLoop
