// Built here rather than by the platform's XML writer: XmlLite takes an
// attribute value in one call and escapes it as its version sees fit (some
// escape nothing), so it cannot be made to write the character references a
// line break needs to read back unchanged; and the two writers differ in the
// declaration and the byte order mark. One builder gives the same bytes on
// both platforms, checked before they are written.
#include "prefs/preferences_document.h"

#include "base/percent_encoding.h"
#include "host/log.h"
#include "platform/xml_reader.h"
#include "prefs/xml_text.h"

namespace XLoop {
namespace {

// Tab, line feed and carriage return as references: raw, attribute-value
// normalisation would read each back as a space.
void appendEscaped(std::string& out, const std::string& value) {
    for (char c : value) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\t': out += "&#9;"; break;
            case '\n': out += "&#10;"; break;
            case '\r': out += "&#13;"; break;
            default: out += c;
        }
    }
}

// A key as a log can show it: printable ASCII, everything else as %XX.
std::string printable(const std::string& key) {
    return percentEncode(key, " !\"#$&'()*+,/:;<=>?@[\\]^`{|}");
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

bool fitsInFile(const std::string& key, const std::string& value) {
    if (!isXmlText(key) || !isXmlText(value)) {
        logDebug("Preference \"%s\" not saved to the file: it holds text XML cannot carry",
                 printable(key).c_str());
        return false;
    }
    if (!isPlainAttributeName(key)) {
        logDebug("Preference \"%s\" not saved to the file: its key is not an XML attribute name",
                 printable(key).c_str());
        return false;
    }
    return true;
}

}  // namespace

std::string preferencesDocument(const std::map<std::string, std::string>& preferences) {
    std::string document = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<general";
    for (const auto& [key, value] : preferences) {
        if (!fitsInFile(key, value)) continue;
        document += ' ';
        document += key;
        document += "=\"";
        appendEscaped(document, value);
        document += '"';
    }
    document += "></general>";
    return document;
}

platform::StepResult readPreferencesDocument(const std::string& bytes,
                                             std::map<std::string, std::string>& preferences) {
    GeneralElementReader reader(preferences);
    return platform::visitXmlElements(bytes.data(), bytes.size(), reader);
}

}  // namespace XLoop
