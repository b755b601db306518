// The element visitor over the platform's XML parser.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/xml_reader.h"
#include "tests/wine.h"

using XLoop::platform::XmlElement;
using xloop_test::runningUnderWine;

namespace {

using Attributes = std::vector<std::pair<std::string, std::string>>;

// An element kept past its call, its name copied.
struct Recorded {
    std::string localName;
    int depth;
    Attributes attributes;
    int line;
};

struct Recorder final : XLoop::platform::XmlElementVisitor {
    void visitElement(const XmlElement& element) override {
        elements.push_back({std::string(element.localName), element.depth, element.attributes, element.line});
    }
    std::vector<Recorded> elements;
};

Recorder visit(const std::string& document, bool* wellFormed) {
    Recorder recorder;
    *wellFormed = XLoop::platform::visitXmlElements(document.data(), document.size(), recorder).ok;
    return recorder;
}

TEST(XmlReaderTest, DeliversEveryElementWithDepthAndUnescapedAttributesInOrder) {
    const std::string document =
        "\xef\xbb\xbf<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
        "<!-- comment --><root xmlns:p=\"urn:p\" z='1' a=\"&lt;&amp;&gt;&quot;&apos;\">\r\n"
        "  <p:item p:key=\"caf&#xE9; &#9;tab\" plain=\"caf\xc3\xa9\"/>text<?pi x?>\r\n"
        "  <next><deeper b=\"line&#10;break\" a=\"raw\r\nbreak\"></deeper></next>\r\n"
        "</root>";
    bool wellFormed = false;
    Recorder recorder = visit(document, &wellFormed);
    EXPECT_TRUE(wellFormed);
    ASSERT_EQ(recorder.elements.size(), 4u);
    EXPECT_EQ(recorder.elements[0].localName, "root");
    EXPECT_EQ(recorder.elements[0].depth, 0);
    EXPECT_EQ(recorder.elements[0].attributes, (Attributes{{"z", "1"}, {"a", "<&>\"'"}}));
    EXPECT_EQ(recorder.elements[1].localName, "item");
    EXPECT_EQ(recorder.elements[1].depth, 1);
    EXPECT_EQ(recorder.elements[2].depth, 1);
    EXPECT_EQ(recorder.elements[3].localName, "deeper");
    EXPECT_EQ(recorder.elements[3].depth, 2);
    // Wine's XmlLite reads references to tab and line feed as blanks, as if
    // they were raw white space.
    if (runningUnderWine()) return;
    EXPECT_EQ(recorder.elements[1].attributes,
              (Attributes{{"key", "caf\xc3\xa9 \ttab"}, {"plain", "caf\xc3\xa9"}}));
    // A raw line break in a value reads back as a blank.
    EXPECT_EQ(recorder.elements[3].attributes, (Attributes{{"b", "line\nbreak"}, {"a", "raw break"}}));
}

TEST(XmlReaderTest, StopsAtTheFirstFaultAfterDeliveringWhatCameBefore) {
    bool wellFormed = true;
    Recorder recorder = visit("<root><a x=\"1\"/><b y=\"2\"><c z=3/></b></root>", &wellFormed);
    EXPECT_FALSE(wellFormed);
    ASSERT_EQ(recorder.elements.size(), 3u);
    EXPECT_EQ(recorder.elements[2].localName, "b");

    // Cut off after a start tag: the tag is whole, so it is delivered.
    recorder = visit("<?xml version=\"1.0\"?>\n<general a=\"1\" b=\"2\">", &wellFormed);
    EXPECT_FALSE(wellFormed);
    ASSERT_FALSE(recorder.elements.empty());
    EXPECT_EQ(recorder.elements[0].attributes, (Attributes{{"a", "1"}, {"b", "2"}}));
    // Wine's XmlLite goes on with made-up, ever deeper elements there.
    if (!runningUnderWine()) {
        EXPECT_EQ(recorder.elements.size(), 1u);
    }

    recorder = visit("", &wellFormed);
    EXPECT_FALSE(wellFormed);
    EXPECT_TRUE(recorder.elements.empty());
}

TEST(XmlReaderTest, ReadsADocumentLargerThanTheParsersOwnInputLimitWhole) {
    // 15 MB, under the largest configuration file the module reads; libxml2
    // holds at most 10 MB of unparsed input.
    const std::string line = "<x a=\"" + std::string(1000, 'v') + "\"/>\n";
    std::string document = "<root>";
    for (int i = 0; i < 15000; ++i) document += line;
    document += "</root>";
    bool wellFormed = false;
    EXPECT_EQ(visit(document, &wellFormed).elements.size(), 15001u);
    EXPECT_TRUE(wellFormed);
}

TEST(XmlReaderTest, RefusesDocumentTypesBeforeReadingThem) {
    const char* documents[] = {
        "<!DOCTYPE general [<!ENTITY e \"expanded\">]><general a=\"&e;\" b=\"1\"/>",
        "<!DOCTYPE general SYSTEM \"http://127.0.0.1:9/general.dtd\"><general b=\"1\"/>",
        "<!DOCTYPE general [<!ENTITY a \"aaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">"
        "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;\">]><general v=\"&c;\"/>",
    };
    for (const char* document : documents) {
        bool wellFormed = true;
        Recorder recorder = visit(document, &wellFormed);
        EXPECT_FALSE(wellFormed) << document;
        EXPECT_TRUE(recorder.elements.empty()) << document;
    }
}

}  // namespace
