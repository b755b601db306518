#include "file_sections.h"

#include "base/xml_attribute_scan.h"

namespace xloop_tool {
namespace {

class SectionLister final : public XLoop::platform::XmlElementVisitor {
public:
    explicit SectionLister(std::vector<FileSection>& sections) : sections(sections) {}

    bool wantsElement(const XLoop::platform::XmlElement& element) override {
        place = tracker.enter(element.localName, element.depth);
        return place.kind != XLoop::SectionKind::None;
    }

    void visitElement(const XLoop::platform::XmlElement& element) override {
        sections.push_back({place.kind, std::string(place.product), std::string(place.version),
                            std::string(place.locale), element.line});
    }

private:
    std::vector<FileSection>& sections;
    XLoop::SectionTracker tracker;
    XLoop::SectionPlace place;
};

}  // namespace

FileSections listSections(const std::string& bytes) {
    FileSections listed;
    XLoop::SectionsRead& read = listed.read;
    // The same count the module makes first: a text it refuses unread is not parsed here either.
    read.prescan = XLoop::scanAttributeWork(bytes.data(), bytes.size(), XLoop::kMaxAttributesPerElement);
    if (read.prescan != XLoop::AttributeScan::Within) return listed;
    SectionLister lister(listed.sections);
    read.parse = XLoop::platform::visitXmlElements(bytes.data(), bytes.size(), lister, &read.stop);
    return listed;
}

bool refusedWhole(const XLoop::SectionsRead& read) {
    return read.prescan != XLoop::AttributeScan::Within || read.stop.documentType;
}

std::string pathOf(const FileSection& section) {
    return XLoop::sectionPath({section.kind, section.product, section.version, section.locale});
}

}  // namespace xloop_tool
