// Built here rather than by the platform's XML writer: XmlLite takes an
// attribute value in one call and escapes it as its version sees fit (some
// escape nothing), so it cannot be made to write the character references a
// line break needs to read back unchanged; and the two writers differ in the
// declaration and the byte order mark. One builder gives the same bytes on
// both platforms, checked before they are written.
#include "prefs/preferences_document.h"

#include <cstring>
#include <utility>

#include "base/percent_encoding.h"
#include "base/xml_attribute_scan.h"
#include "prefs/host_keys.h"
#include "platform/xml_reader.h"
#include "prefs/xml_text.h"
#include "runtime/log.h"

namespace XLoop {
namespace {

constexpr char kDocumentStart[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<general";
constexpr char kDocumentEnd[] = "></general>";

// Tab, line feed and carriage return as references: raw, attribute-value
// normalisation would read each back as a space.
const char* escapeOf(char c) {
    switch (c) {
        case '&': return "&amp;";
        case '<': return "&lt;";
        case '>': return "&gt;";
        case '"': return "&quot;";
        case '\t': return "&#9;";
        case '\n': return "&#10;";
        case '\r': return "&#13;";
        default: return nullptr;
    }
}

// The document holds only values XML can carry, so none holds a NUL byte
// and strcspn, which skips plain text many bytes at a time, sees each whole.
void appendEscaped(std::string& out, const std::string& value) {
    const char* rest = value.c_str();
    const char* const end = rest + value.size();
    while (rest < end) {
        const size_t plain = std::strcspn(rest, "&<>\"\t\n\r");
        out.append(rest, plain);
        rest += plain;
        if (rest == end) break;
        const char* escape = escapeOf(*rest);
        if (escape != nullptr) {
            out += escape;
        } else {
            out += *rest;
        }
        ++rest;
    }
}

size_t escapedSize(const std::string& value) {
    size_t size = 0;
    for (char c : value) {
        const char* escape = escapeOf(c);
        size += escape != nullptr ? std::char_traits<char>::length(escape) : 1;
    }
    return size;
}

class GeneralElementReader final : public platform::XmlElementVisitor {
public:
    explicit GeneralElementReader(std::map<std::string, std::string>& preferences) : preferences(preferences) {}

    void visitElement(const platform::XmlElement& element) override {
        if (element.localName != "general") return;
        for (const auto& [name, value] : element.attributes) preferences[name] = value;
    }

private:
    std::map<std::string, std::string>& preferences;
};

// Why the file cannot carry the entry; null when it can.
const char* unsavableReason(const std::string& key, const std::string& value) {
    if (!isXmlText(key) || !isXmlText(value)) return "it holds text XML cannot carry";
    if (!isPlainAttributeName(key)) return "its key is not an XML attribute name";
    return nullptr;
}

// What an entry adds to the document, or, left out of it, to the memory held.
size_t entryBytes(const std::string& key, const std::string& value, bool carried) {
    return key.size() + (carried ? escapedSize(value) : value.size()) + 4;  // blank, equals sign, two quotes
}

}  // namespace

std::string printableKey(const std::string& key) {
    constexpr size_t shown = 64;
    const std::string encoded = percentEncode(key.substr(0, shown), " !\"#$&'()*+,/:;<=>?@[\\]^`{|}");
    return key.size() > shown ? encoded + "..." : encoded;
}

PreferenceEntries::PreferenceEntries(const std::map<std::string, std::string>& entries) {
    for (const auto& [key, value] : entries) set(key, value);
}

const std::string* PreferenceEntries::find(const std::string& key) const {
    auto found = entries.find(key);
    return found != entries.end() ? &found->second : nullptr;
}

void PreferenceEntries::set(const std::string& key, std::string value) {
    const char* reason = unsavableReason(key, value);
    const bool carried = reason == nullptr;
    const bool wasLeftOut = leftOut.count(key) != 0;
    if (const std::string* held = find(key)) {
        (wasLeftOut ? leftOutBytes : bytes) -= entryBytes(key, *held, !wasLeftOut);
    }
    (carried ? bytes : leftOutBytes) += entryBytes(key, value, carried);
    if (carried) {
        leftOut.erase(key);
    } else if (!wasLeftOut) {
        // Once per key, not at every save.
        logDebug("Preference \"%s\" not saved to the file: %s", printableKey(key).c_str(), reason);
        leftOut.insert(key);
    }
    entries.insert_or_assign(key, std::move(value));
}

size_t PreferenceEntries::heldBytesWith(const std::string& key, const std::string& value) const {
    return bytesWith(key, value, unsavableReason(key, value) == nullptr);
}

size_t PreferenceEntries::heldEntryBytes(const std::string& key) const {
    // Measured without checking the entry again: it was checked when set,
    // and leftOut holds the verdict.
    const std::string* held = find(key);
    return held != nullptr ? entryBytes(key, *held, leftOut.count(key) == 0) : 0;
}

size_t PreferenceEntries::bytesWith(const std::string& key, const std::string& value, bool carried) const {
    return heldBytes() - heldEntryBytes(key) + entryBytes(key, value, carried);
}

size_t PreferenceEntries::pageEntryCount() const {
    size_t hostEntries = 0;
    for (const char* hostKey : kHostKeys) hostEntries += entries.count(hostKey);
    return entries.size() - hostEntries;
}

size_t PreferenceEntries::pageBytesWith(const std::string& key, const std::string& value) const {
    size_t hostBytes = emptyDocumentBytes();
    for (const char* hostKey : kHostKeys) {
        if (hostKey != key) hostBytes += heldEntryBytes(hostKey);
    }
    return heldBytesWith(key, value) - hostBytes;
}

size_t PreferenceEntries::emptyDocumentBytes() {
    return std::char_traits<char>::length(kDocumentStart) + std::char_traits<char>::length(kDocumentEnd);
}

std::string PreferenceEntries::document() const {
    std::string document;
    document.reserve(bytes);
    document += kDocumentStart;
    for (const auto& [key, value] : entries) {
        if (leftOut.count(key) != 0) continue;
        document += ' ';
        document += key;
        document += "=\"";
        appendEscaped(document, value);
        document += '"';
    }
    document += kDocumentEnd;
    return document;
}

platform::StepResult readPreferencesDocument(const std::string& bytes,
                                             std::map<std::string, std::string>& preferences) {
    switch (scanAttributeWork(bytes.data(), bytes.size(), kMaxAttributesPerElement)) {
    case AttributeScan::Within: break;
    case AttributeScan::TooManyAttributes: return platform::StepResult::failure("count attributes", 0);
    case AttributeScan::UnreadableEncoding: return platform::StepResult::failure("count attributes in its encoding", 0);
    }
    GeneralElementReader reader(preferences);
    return platform::visitXmlElements(bytes.data(), bytes.size(), reader);
}

}  // namespace XLoop
