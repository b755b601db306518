// Reading VEQConfig.xml from real files and from the local HTTP server.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/config_file.h"
#include "runtime/paths.h"
#include "testing/encoded_text.h"
#include "testing/http_test_server.h"
#include "tests/preferences_files.h"
#include "tests/test_support.h"
#include "tests/wine.h"

using namespace xloop_test;

namespace {

struct Read {
    bool found;
    std::string killswitch = "-";
    std::string url = "-";
    std::string serverurl = "-";

    bool operator==(const Read& other) const {
        return found == other.found && killswitch == other.killswitch && url == other.url &&
               serverurl == other.serverurl;
    }
};

std::ostream& operator<<(std::ostream& out, const Read& read) {
    return out << read.found << " " << read.killswitch << " " << read.url << " " << read.serverurl;
}

Read readURL(const std::string& url, const char* product = "prod") {
    Read read{false};
    XLoop::platform::HttpCancellation never;
    read.found = XLoop::readConfigFile(url.c_str(), product, "7", "en_us", read.killswitch, read.url,
                                       read.serverurl, never);
    return read;
}

class ConfigFileTest : public ::testing::Test {
protected:
    Read readText(const std::string& xml, const char* product = "prod") {
        const auto file = folder.path() / "VEQConfig.xml";
        writeBytes(file, xml);
        return readURL(XLoop::fileURLFromPath(file.u8string().c_str()), product);
    }

    TempFolder folder;
};

TEST_F(ConfigFileTest, SectionsApplyInDocumentOrderAndTheRestIsSkipped) {
    EXPECT_EQ(readText(R"(<?xml version="1.0"?>
<veqconfig>
  <defaults killswitch="on" url="general" serverurl="general-server"/>
  <prod>
    <defaults url="product"/>
    <ver_7>
      <defaults serverurl="version-server"/>
      <en_us killswitch="off"/>
      <en_US url="upper-case locale"/>
      <de_de url="other locale"/>
      <defaults><defaults url="too deep"/></defaults>
    </ver_7>
    <ver_8><en_us url="other version"/><defaults serverurl="other version"/></ver_8>
  </prod>
  <other><defaults url="other product"><prod><defaults url="nested"/></prod></defaults></other>
  <other><ver_7><defaults serverurl="other product"/></ver_7></other>
</veqconfig>)"),
              (Read{true, "off", "product", "version-server"}));

    // The file decides: general defaults after the product win over it.
    EXPECT_EQ(readText(R"(<veqconfig><prod><defaults killswitch="off" url="product"/></prod>
                          <defaults url="general"/><defaults url="second" serverurl="s"/></veqconfig>)"),
              (Read{true, "off", "second", "s"}));
}

// What a traced read reports taking, section by section.
struct RecordedTrace final : XLoop::SectionTrace {
    void sectionApplies(const XLoop::SectionPlace& place, int line) override {
        sections.push_back(std::to_string(line) + " " + XLoop::sectionPath(place));
    }
    void valueTaken(XLoop::ConfigKey key, const XLoop::ConfigValue& value) override { replayed[key] = value; }

    std::vector<std::string> sections;
    XLoop::ConfigValues replayed;
};

TEST(SectionTraceTest, NamesTheSectionsAReadTakesAndChangesNoValue) {
    const std::string xml = R"(<veqconfig>
  <defaults killswitch="on" url="general"/>
  <Prod><defaults url="other case"/></Prod>
  <prod>
    <defaults/>
    <ver_7><defaults serverurl="v7"/><en_us killswitch="off"/><de_de url="de"/></ver_7>
    <ver_8><en_us url="v8"/></ver_8>
  </prod>
  <defaults serverurl="late"/>
</veqconfig>)";
    for (const char* version : {"7", "8", "9"}) {
        XLoop::ConfigValues plain, traced;
        RecordedTrace trace;
        XLoop::readSectionValues(xml, "prod", version, "en_us", plain);
        XLoop::readSectionValues(xml, "prod", version, "en_us", traced, &trace);
        for (XLoop::ConfigKey key : XLoop::kConfigKeys) {
            for (const XLoop::ConfigValue* value : {&traced[key], &trace.replayed[key]}) {
                EXPECT_EQ(value->text, plain[key].text) << version;
                EXPECT_EQ(value->line, plain[key].line) << version;
            }
        }
        if (version == std::string("7")) {
            const std::vector<std::string> taken{"2 veqconfig/defaults", "5 veqconfig/prod/defaults",
                                                 "6 veqconfig/prod/ver_7/defaults", "6 veqconfig/prod/ver_7/en_us",
                                                 "9 veqconfig/defaults"};
            EXPECT_EQ(trace.sections, taken);
        }
    }
}

TEST_F(ConfigFileTest, NamesMatchByLocalNameAndCase) {
    // A product text that is no XML name can only meet the general defaults.
    for (const char* product : {"prod", "my prod"}) {
        EXPECT_EQ(readText(R"(<c:veqconfig xmlns:c="urn:c" xmlns:a="urn:a">
                                <c:defaults a:killswitch="" URL="ignored" KillSwitch="ignored" url="u"/>
                              </c:veqconfig>)", product),
                  (Read{true, "", "u", "-"})) << product;
    }
}

TEST_F(ConfigFileTest, BrokenFilesKeepWhatCameBeforeTheFault) {
    // Values met before a cut stay; the kill switch decides the result.
    EXPECT_EQ(readText(R"(<veqconfig><defaults killswitch="off" url="before"/><prod><defaults url="cut)"),
              (Read{true, "off", "before", "-"}));
    EXPECT_EQ(readText(R"(<veqconfig><defaults url="only url"/><broken</veqconfig>)"),
              (Read{false, "-", "only url", "-"}));
    EXPECT_EQ(readText(R"(<!DOCTYPE veqconfig [<!ENTITY e "x">]><veqconfig><defaults killswitch="off"/></veqconfig>)"),
              (Read{false}));
    EXPECT_EQ(readText(""), (Read{false}));
    EXPECT_EQ(readURL(XLoop::fileURLFromPath((folder.path() / "missing.xml").u8string().c_str())), (Read{false}));
}

TEST_F(ConfigFileTest, AnElementWithTooManyAttributesIsRefusedUnread) {
    std::string many = "<veqconfig><defaults killswitch=\"off\"";
    for (int i = 0; i < 200000; ++i) many += " a" + std::to_string(i) + "=\"\"";
    EXPECT_EQ(readText(many + "/></veqconfig>"), (Read{false}));
    // Quoted values, comments, CDATA sections and processing instructions
    // hold no attributes.
    const std::string notAttributes(20000, '=');
    EXPECT_EQ(readText("<veqconfig><defaults url=\"" + notAttributes + "\" killswitch='" + notAttributes +
                       "'/><!--" + notAttributes + "--><?pi " + notAttributes + "?><x><![CDATA[" +
                       notAttributes + "]]></x></veqconfig>"),
              (Read{true, notAttributes, notAttributes, "-"}));
}

TEST_F(ConfigFileTest, AttributesAreCountedInTheEncodingTheParserReads) {
    std::string many = "<veqconfig><defaults killswitch=\"off\"";
    for (int i = 0; i < 20000; ++i) many += " a" + std::to_string(i) + "=\"\"";
    many += "/></veqconfig>";
    LogCapture log;
    // After an ASCII declaration, the parser reads the declared encoding
    // from just past its name.
    EXPECT_EQ(readText("<?xml version=\"1.0\" encoding=\"UTF-16LE\"" + utf16("?>" + many)), (Read{false}));
    EXPECT_EQ(readText(utf16("<!-- no byte order mark -->" + many)), (Read{false}));
    EXPECT_TRUE(log.contains("(VEQ): Configuration refused: its elements carry too many attributes"));
    EXPECT_EQ(readText("<?xml version='1.0' encoding='IBM037'" + ebcdic("?>" + many)), (Read{false}));
    EXPECT_TRUE(log.contains(
        "(VEQ): Configuration refused: its encoding is neither ASCII-compatible nor UTF-16 or UTF-32"));

    const std::string few = R"(<veqconfig><defaults killswitch="off" url="room"/></veqconfig>)";
    const std::string declaration = "<?xml version=\"1.0\" encoding=\"UTF-16\"?>";
    std::vector<std::string> readable = {"\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + few,
                                         "<?xml version='1.0' encoding='utf-8'?>" + few,
                                         "\xFF\xFE" + utf16(declaration + few)};
    // Wine's XmlLite reads no UTF-16BE.
    if (!runningUnderWine()) readable.push_back("\xFE\xFF" + utf16(declaration + few, true));
    for (const std::string& text : readable) EXPECT_EQ(readText(text), (Read{true, "off", "room", "-"})) << text;
}

TEST(ConfigFileOverHttpTest, OnlyAWholeSuccessfulAnswerCounts) {
    HttpTestServer server;
    const HttpRoute good = answer(200, R"(<veqconfig><defaults killswitch="off" url="room"/></veqconfig>)");
    server.setRoute("/good", good);
    HttpRoute moved = answer(302);
    moved.headers = {{"Location", "/good"}};
    server.setRoute("/moved", moved);
    HttpRoute missing = good;
    missing.status = 404;
    server.setRoute("/missing", missing);
    HttpRoute cut = good;
    cut.cutShort = true;
    server.setRoute("/cut", cut);
    server.setRoute("/empty", HttpRoute{});
    server.setRoute("/huge", answer(200, std::string(XLoop::kMaxRemoteConfigBytes + 1, ' ')));
    LogCapture log;

    EXPECT_EQ(readURL(server.url("/good")), (Read{true, "off", "room", "-"}));
    EXPECT_EQ(readURL(server.url("/moved")), (Read{true, "off", "room", "-"}));
    for (const char* path : {"/missing", "/cut", "/empty", "/huge"}) {
        EXPECT_EQ(readURL(server.url(path)), (Read{false})) << path;
    }
    // A redirect with nowhere to go is an answer, but never the configuration.
    for (int status : {299, 300, 302, 399}) {
        HttpRoute route = good;
        route.status = status;
        server.setRoute("/status", route);
        EXPECT_EQ(readURL(server.url("/status")).found, status < 300) << status;
    }
    EXPECT_TRUE(log.contains("(VEQ): Configuration at " + server.url("/huge") + " refused: larger than " +
                             std::to_string(XLoop::kMaxRemoteConfigBytes) + " bytes"));
    EXPECT_TRUE(log.contains("(VEQ): Configuration at " + server.url("/missing") +
                             " not read: the server answered 404"));
}

}  // namespace
