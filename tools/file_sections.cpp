#include "file_sections.h"

#include "base/xml_attribute_scan.h"

namespace xloop_tool {
namespace {

class SectionLister final : public XLoop::platform::XmlElementVisitor {
public:
    explicit SectionLister(FileSections& listed) : listed(listed) {}

    bool wantsElement(const XLoop::platform::XmlElement& element) override {
        if (element.depth == 0) listed.rooted = element.localName == XLoop::kRootName;
        place = tracker.enter(element.localName, element.depth);
        return place.kind != XLoop::SectionKind::None;
    }

    void visitElement(const XLoop::platform::XmlElement& element) override {
        FileSection section{place.kind, std::string(place.product), std::string(place.version),
                            std::string(place.locale), element.line, {}};
        for (const auto& [name, text] : element.attributes) {
            const XLoop::ConfigKey key = XLoop::configKeyOf(name);
            if (key != XLoop::ConfigKey::None) section.values.emplace_back(key, text);
        }
        listed.sections.push_back(std::move(section));
    }

private:
    FileSections& listed;
    XLoop::SectionTracker tracker;
    XLoop::SectionPlace place;
};

}  // namespace

FileSections listSections(const std::string& bytes) {
    FileSections listed;
    SectionLister lister(listed);
    listed.read = visitAsTheModule(bytes, lister);
    return listed;
}

XLoop::SectionsRead visitAsTheModule(const std::string& bytes, XLoop::platform::XmlElementVisitor& visitor) {
    XLoop::SectionsRead read;
    // The same count the module makes first: a text it refuses unread is not parsed here either.
    read.prescan = XLoop::scanAttributeWork(bytes.data(), bytes.size(), XLoop::kMaxAttributesPerElement);
    if (read.prescan == XLoop::AttributeScan::Within) {
        read.parse = XLoop::platform::visitXmlElements(bytes.data(), bytes.size(), visitor, &read.stop);
    }
    return read;
}

bool refusedWhole(const XLoop::SectionsRead& read) {
    return read.prescan != XLoop::AttributeScan::Within || read.stop.documentType;
}

std::string pathOf(const FileSection& section) {
    return XLoop::sectionPath({section.kind, section.product, section.version, section.locale});
}

}  // namespace xloop_tool
