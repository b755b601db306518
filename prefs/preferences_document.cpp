// Built here rather than by the platform's XML writer: XmlLite takes an
// attribute value in one call and escapes it as its version sees fit (some
// escape nothing), so it cannot be made to write the character references a
// line break needs to read back unchanged; and the two writers differ in the
// declaration and the byte order mark. One builder gives the same bytes on
// both platforms, checked before they are written.
#include "prefs/preferences_document.h"

#include "base/percent_encoding.h"
#include "base/xml_attribute_scan.h"
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

void appendEscaped(std::string& out, const std::string& value) {
    for (char c : value) {
        const char* escape = escapeOf(c);
        if (escape != nullptr) {
            out += escape;
        } else {
            out += c;
        }
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

}  // namespace

std::string printableKey(const std::string& key) {
    constexpr size_t shown = 64;
    const std::string encoded = percentEncode(key.substr(0, shown), " !\"#$&'()*+,/:;<=>?@[\\]^`{|}");
    return key.size() > shown ? encoded + "..." : encoded;
}

size_t preferenceEntryBytes(const std::string& key, const std::string& value) {
    if (unsavableReason(key, value) != nullptr) return 0;
    return key.size() + escapedSize(value) + 4;  // blank, equals sign, two quotes
}

size_t preferencesDocumentBytes(const std::map<std::string, std::string>& preferences) {
    size_t size = std::char_traits<char>::length(kDocumentStart) + std::char_traits<char>::length(kDocumentEnd);
    for (const auto& [key, value] : preferences) size += preferenceEntryBytes(key, value);
    return size;
}

std::string preferencesDocument(const std::map<std::string, std::string>& preferences) {
    std::string document = kDocumentStart;
    for (const auto& [key, value] : preferences) {
        if (const char* reason = unsavableReason(key, value)) {
            logDebug("Preference \"%s\" not saved to the file: %s", printableKey(key).c_str(), reason);
            continue;
        }
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
    if (!attributeWorkWithin(bytes.data(), bytes.size(), kMaxAttributesPerElement)) {
        return platform::StepResult::failure("count attributes", 0);
    }
    GeneralElementReader reader(preferences);
    return platform::visitXmlElements(bytes.data(), bytes.size(), reader);
}

}  // namespace XLoop
