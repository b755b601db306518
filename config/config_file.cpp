#include "config/config_file.h"

#include <cstring>
#include <string_view>

#include "platform/file_io.h"
#include "platform/file_system.h"
#include "runtime/http_request.h"
#include "runtime/log.h"

namespace XLoop {
namespace {

ConfigFetch readFile(const std::string& url, std::string& buffer) {
    const std::string path = platform::pathFromFileURL(url);
    if (path.empty() || !platform::pathExists(path)) return {};
    platform::StepResult read = platform::readRegularFile(path, kMaxRemoteConfigBytes, &buffer);
    if (!read.ok) {
        logDebug("Configuration file %s not read: %s failed with error %d", path.c_str(), read.step, read.code);
    }
    ConfigFetch fetch;
    fetch.ok = read.ok;
    fetch.tooLarge = !read.ok && std::strcmp(read.step, platform::kCheckSizeStep) == 0;
    return fetch;
}

ConfigFetch readOverHttp(const std::string& url, std::string& buffer, platform::HttpCancellation& cancellation) {
    ConfigFetch fetch;
    platform::HttpAnswer answer =
        requestFollowingRedirects({url, platform::HttpVerb::Get, kMaxRemoteConfigBytes}, cancellation,
                                  &fetch.finalURL);
    fetch.exchange = answer.outcome;
    if (!answer.outcome.ok) return fetch;
    if (answer.bodyTooLarge) {
        logDebug("Configuration at %s refused: larger than %u bytes", url.c_str(),
                 static_cast<unsigned>(kMaxRemoteConfigBytes));
        fetch.tooLarge = true;
        return fetch;
    }
    if (answer.status < 200 || answer.status > 299) {
        logDebug("Configuration at %s not read: the server answered %d", url.c_str(), answer.status);
        return fetch;
    }
    buffer = std::move(answer.body);
    fetch.ok = !buffer.empty();
    return fetch;
}

// Takes the values of the sections that apply, in document order. Every
// other element is passed over by name and depth, unread.
class SectionReader final : public platform::XmlElementVisitor {
public:
    SectionReader(std::string_view product, std::string_view version, std::string_view locale,
                  ConfigValues& values, SectionTrace* trace)
        : product(product), version(version), locale(locale), values(values), trace(trace) {}

    bool wantsElement(const platform::XmlElement& element) override {
        if (belowAnotherProduct(element.depth)) return false;
        place = tracker.enter(element.localName, element.depth);
        return appliesTo(place, product, version, locale);
    }

    void visitElement(const platform::XmlElement& element) override {
        if (trace != nullptr) trace->sectionApplies(place, element.line);
        for (const auto& [name, text] : element.attributes) {
            const ConfigKey key = configKeyOf(name);
            if (key == ConfigKey::None) continue;
            values[key] = {text, element.line, place.kind};
            if (key == ConfigKey::Killswitch) values.killswitchFound = true;
            if (trace != nullptr) trace->valueTaken(key, values[key]);
        }
    }

private:
    // Nothing below the child of the root that names another product
    // applies, and such elements cannot change that child: only the next
    // element at its depth or above can, and it finds the tracker as it
    // would have. Most of a file with many products is passed over here.
    bool belowAnotherProduct(int depth) const {
        return depth >= 2 && tracker.levels() >= 2 && tracker.name(1) != product && tracker.name(1) != kDefaultsName;
    }

    const std::string_view product;
    const std::string_view version;
    const std::string_view locale;
    ConfigValues& values;
    SectionTrace* const trace;
    SectionTracker tracker;
    SectionPlace place;
};

std::string_view textOf(const char* text) {
    return text != nullptr ? text : "";
}

}  // namespace

const ConfigValue& ConfigValues::operator[](ConfigKey key) const {
    if (key == ConfigKey::Killswitch) return killswitch;
    return key == ConfigKey::Url ? url : serverurl;
}

ConfigValue& ConfigValues::operator[](ConfigKey key) {
    return const_cast<ConfigValue&>(static_cast<const ConfigValues&>(*this)[key]);
}

ConfigFetch fetchConfigBytes(const char* url, std::string& buffer, platform::HttpCancellation& cancellation) {
    buffer.clear();
    if (url == nullptr) return {};
    if (platform::isFileURL(url)) return readFile(url, buffer);
    return readOverHttp(url, buffer, cancellation);
}

bool readURLToMemory(const char* url, std::string& buffer, platform::HttpCancellation& cancellation) {
    return fetchConfigBytes(url, buffer, cancellation).ok;
}

SectionsRead readSectionValues(const std::string& bytes, const char* product, const char* version,
                               const char* locale, ConfigValues& values, SectionTrace* trace) {
    SectionsRead read;
    read.prescan = scanAttributeWork(bytes.data(), bytes.size(), kMaxAttributesPerElement);
    if (read.prescan != AttributeScan::Within) {
        logDebug("Configuration refused: %s", attributeScanProblem(read.prescan));
        return read;
    }
    SectionReader reader(textOf(product), textOf(version), textOf(locale), values, trace);
    read.parse = platform::visitXmlElements(bytes.data(), bytes.size(), reader, &read.stop);
    return read;
}

bool readConfigSections(const std::string& bytes, const char* product, const char* version, const char* locale,
                        std::string& killswitch, std::string& urlValue, std::string& serverurl) {
    ConfigValues values;
    values.killswitch.text = std::move(killswitch);
    values.url.text = std::move(urlValue);
    values.serverurl.text = std::move(serverurl);
    readSectionValues(bytes, product, version, locale, values);
    killswitch = std::move(values.killswitch.text);
    urlValue = std::move(values.url.text);
    serverurl = std::move(values.serverurl.text);
    return values.killswitchFound;
}

bool readConfigFile(const char* url, const char* product, const char* version, const char* locale,
                    std::string& killswitch, std::string& urlValue, std::string& serverurl,
                    platform::HttpCancellation& cancellation) {
    std::string bytes;
    return readURLToMemory(url, bytes, cancellation) &&
           readConfigSections(bytes, product, version, locale, killswitch, urlValue, serverurl);
}

}  // namespace XLoop
