// The text of a preferences file.
#pragma once

#include <cstddef>
#include <map>
#include <set>
#include <string>

#include "platform/step_result.h"

namespace XLoop {

// The entries of one preference store and the file they make. Each entry is
// checked once, when set, and the size of the file is kept up to date: a
// store of thousands of entries is written at every set, and checking and
// counting them all anew each time cost more than writing them.
class PreferenceEntries {
public:
    PreferenceEntries() = default;
    explicit PreferenceEntries(const std::map<std::string, std::string>& entries);

    const std::map<std::string, std::string>& all() const { return entries; }
    size_t count() const { return entries.size(); }
    // Null when the key has no entry.
    const std::string* find(const std::string& key) const;

    void set(const std::string& key, std::string value);

    // The XML declaration, then on the next line one "general" element with
    // each entry as an attribute, in key order, closed by a separate end
    // tag. An entry that would make the file unreadable is left out.
    std::string document() const;
    size_t documentBytes() const { return bytes; }
    // What the store holds: the size of that text, plus the unescaped size
    // of each entry left out of it, now and with key set to value.
    size_t heldBytes() const { return bytes + leftOutBytes; }
    size_t heldBytesWith(const std::string& key, const std::string& value) const;
    // The same for the page's entries alone: every entry but the host's.
    size_t pageEntryCount() const;
    size_t pageBytesWith(const std::string& key, const std::string& value) const;

private:
    // heldBytesWith, told whether the file can carry the entry.
    size_t bytesWith(const std::string& key, const std::string& value, bool carried) const;
    size_t heldEntryBytes(const std::string& key) const;  // 0 when the key has no entry

    std::map<std::string, std::string> entries;
    std::set<std::string> leftOut;  // keys of the entries the file cannot carry
    size_t bytes = emptyDocumentBytes();
    size_t leftOutBytes = 0;

    static size_t emptyDocumentBytes();
};

// A key as a log line can show it: its start, printable ASCII, everything
// else as %XX.
std::string printableKey(const std::string& key);

// Adds the attributes of every "general" element, at any depth, in document
// order, up to the end of the text or its first fault (which is returned).
// A text whose elements carry too many attributes to parse quickly, or
// whose encoding hides them from that count, is refused unread.
platform::StepResult readPreferencesDocument(const std::string& bytes,
                                             std::map<std::string, std::string>& preferences);

}  // namespace XLoop
