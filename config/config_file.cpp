#include "config/config_file.h"

#include <vector>

#include "base/xml_attribute_scan.h"
#include "platform/file_io.h"
#include "platform/file_system.h"
#include "platform/xml_reader.h"
#include "runtime/http_request.h"
#include "runtime/log.h"

namespace XLoop {
namespace {

bool readFile(const std::string& url, std::string& buffer) {
    const std::string path = platform::pathFromFileURL(url);
    if (path.empty() || !platform::pathExists(path)) return false;
    platform::StepResult read = platform::readRegularFile(path, kMaxRemoteConfigBytes, &buffer);
    if (!read.ok) {
        logDebug("Configuration file %s not read: %s failed with error %d", path.c_str(), read.step, read.code);
    }
    return read.ok;
}

bool readOverHttp(const std::string& url, std::string& buffer, platform::HttpCancellation& cancellation) {
    platform::HttpAnswer answer =
        requestFollowingRedirects({url, platform::HttpVerb::Get, kMaxRemoteConfigBytes}, cancellation);
    if (!answer.outcome.ok) return false;
    if (answer.bodyTooLarge) {
        logDebug("Configuration at %s refused: larger than %u bytes", url.c_str(),
                 static_cast<unsigned>(kMaxRemoteConfigBytes));
        return false;
    }
    if (answer.status < 200 || answer.status > 299) {
        logDebug("Configuration at %s not read: the server answered %d", url.c_str(), answer.status);
        return false;
    }
    buffer = std::move(answer.body);
    return !buffer.empty();
}

using ElementPath = std::vector<std::string>;

// Walks the elements, keeping the path of names from the root, and takes the
// three values from the elements whose path is one of the sections. Paths are
// compared name by name, so a product text holding a "/" matches nothing.
class SectionReader final : public platform::XmlElementVisitor {
public:
    SectionReader(std::vector<ElementPath> sectionPaths, std::string& killswitch, std::string& url,
                  std::string& serverurl)
        : sectionPaths(std::move(sectionPaths)), killswitch(killswitch), url(url), serverurl(serverurl) {}

    void visitElement(const platform::XmlElement& element) override {
        const size_t depth = static_cast<size_t>(element.depth);
        if (depth >= 1 && depth < stack.size()) stack.resize(depth);
        if (stack.size() == depth) stack.push_back(element.localName);
        if (!isSection()) return;
        for (const auto& [name, value] : element.attributes) {
            if (name == "killswitch") {
                killswitch = value;
                killswitchFound = true;
            } else if (name == "url") {
                url = value;
            } else if (name == "serverurl") {
                serverurl = value;
            }
        }
    }

    bool killswitchFound = false;

private:
    bool isSection() const {
        for (const auto& section : sectionPaths) {
            if (section == stack) return true;
        }
        return false;
    }

    const std::vector<ElementPath> sectionPaths;
    ElementPath stack;
    std::string& killswitch;
    std::string& url;
    std::string& serverurl;
};

}  // namespace

bool readURLToMemory(const char* url, std::string& buffer, platform::HttpCancellation& cancellation) {
    buffer.clear();
    if (url == nullptr) return false;
    if (platform::isFileURL(url)) return readFile(url, buffer);
    return readOverHttp(url, buffer, cancellation);
}

bool readConfigSections(const std::string& bytes, const char* product, const char* version, const char* locale,
                        std::string& killswitch, std::string& urlValue, std::string& serverurl) {
    const std::string productName = product != nullptr ? product : "";
    const std::string versionName = std::string("ver_") + (version != nullptr ? version : "");
    const std::string localeName = locale != nullptr ? locale : "";
    std::vector<ElementPath> sectionPaths = {
        {"veqconfig", "defaults"},
        {"veqconfig", productName, "defaults"},
        {"veqconfig", productName, versionName, "defaults"},
        {"veqconfig", productName, versionName, localeName},
    };
    if (!attributeWorkWithin(bytes.data(), bytes.size(), kMaxAttributesPerElement)) {
        logDebug("Configuration refused: its elements carry too many attributes");
        return false;
    }
    SectionReader reader(std::move(sectionPaths), killswitch, urlValue, serverurl);
    platform::visitXmlElements(bytes.data(), bytes.size(), reader);
    return reader.killswitchFound;
}

bool readConfigFile(const char* url, const char* product, const char* version, const char* locale,
                    std::string& killswitch, std::string& urlValue, std::string& serverurl,
                    platform::HttpCancellation& cancellation) {
    std::string bytes;
    return readURLToMemory(url, bytes, cancellation) &&
           readConfigSections(bytes, product, version, locale, killswitch, urlValue, serverurl);
}

}  // namespace XLoop
