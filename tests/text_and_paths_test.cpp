// UTF-8/UTF-16 conversions, path joining and file URLs, on real files.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "base/ascii.h"
#include "base/percent_encoding.h"
#include "base/utf.h"
#include "runtime/paths.h"
#include "tests/hex_text.h"
#include "tests/test_support.h"

using namespace XLoop;
namespace fs = std::filesystem;

namespace {

#if defined(_WIN32)
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

TEST(TextEncodingTest, ValidTextRoundTripsAndInvalidSequencesAreReplaced) {
    const std::string text = "ASCII caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80 \xf0\x9d\x84\x9e";
    std::u16string wide = toWide(text.c_str());
    EXPECT_EQ(wide, u"ASCII caf\u00e9 \u20ac \U0001F600 \U0001D11E");
    EXPECT_EQ(toUtf8(wide.c_str()), text);
    EXPECT_EQ(toWide(nullptr), u"");
    EXPECT_EQ(toUtf8(nullptr), "");

    // Invalid sequences become replacement characters.
    EXPECT_EQ(toWide("a\xff" "b"), u"a\uFFFDb");
    EXPECT_EQ(toWide("a\x80" "b"), u"a\uFFFDb");
    EXPECT_EQ(toWide("end\xe2\x82"), u"end\uFFFD");
    const char16_t loneSurrogates[] = {u'x', 0xD800, u'y', 0xDBFF, 0xE000, 0};
    EXPECT_EQ(toUtf8(loneSurrogates), "x\xef\xbf\xbdy\xef\xbf\xbd\xee\x80\x80");

    // Every consumer of the decoder refuses the same forms: overlong, encoded
    // surrogates, past U+10FFFF, truncated, stray continuation bytes.
    for (const char* invalid : {"\xc0\x80", "\xc1\xbf", "\xe0\x9f\xbf", "\xf0\x8f\xbf\xbf", "\xed\xa0\x80",
                                "\xed\xbf\xbf", "\xf4\x90\x80\x80", "\xf5\x80\x80\x80", "\xe2\x82", "\xf0\x9f\x98",
                                "\x80", "\xbf", "\xfe", "\xff"}) {
        const std::string text = std::string("<") + invalid + ">";
        const Utf8Step step = nextUtf8Step(reinterpret_cast<const unsigned char*>(invalid));
        EXPECT_FALSE(step.valid) << xloop_test::hex(invalid);
        const std::u16string wide = toWide(text.c_str());
        EXPECT_TRUE(wide.front() == u'<' && wide[1] == 0xFFFD && wide.back() == u'>') << xloop_test::hex(invalid);
        EXPECT_EQ(validUtf8(text).substr(0, 4), std::string("<") + kReplacementUtf8) << xloop_test::hex(invalid);
    }
    // The edges just inside stay as they are.
    for (const char* valid : {"\xc2\x80", "\xe0\xa0\x80", "\xed\x9f\xbf", "\xee\x80\x80", "\xf0\x90\x80\x80",
                              "\xf4\x8f\xbf\xbf", "\xef\xbf\xbd"}) {
        const Utf8Step step = nextUtf8Step(reinterpret_cast<const unsigned char*>(valid));
        EXPECT_TRUE(step.valid && step.length == std::strlen(valid)) << xloop_test::hex(valid);
        EXPECT_EQ(toUtf8(toWide(valid).c_str()), valid);
        EXPECT_EQ(validUtf8(valid), valid);
    }
}

TEST(TextEncodingTest, AsciiRulesHoldForEveryByteAndEscapesDecodeAtEveryPosition) {
    for (int value = 0; value < 256; ++value) {
        const char byte = static_cast<char>(value);
        const bool upper = value >= 'A' && value <= 'Z', lower = value >= 'a' && value <= 'z';
        EXPECT_EQ(lowerAscii(byte), upper ? static_cast<char>(value + 32) : byte) << value;
        EXPECT_EQ(lowerAscii(std::string(2, byte)), std::string(2, lowerAscii(byte))) << value;
        EXPECT_EQ(isAsciiLetter(static_cast<unsigned char>(value)), upper || lower) << value;
        EXPECT_EQ(isAsciiDigit(static_cast<unsigned char>(value)), value >= '0' && value <= '9') << value;
        EXPECT_EQ(startsWithIgnoringCase(std::string("x") + byte, std::string("x") + lowerAscii(byte)), true) << value;
        EXPECT_EQ(startsWithIgnoringCase(std::string(1, byte), "a"), value == 'a' || value == 'A') << value;
    }

    const std::string text = "xy/z";
    for (size_t at = 0; at <= text.size(); ++at) {
        for (const char* escape : {"%2F", "%2f"}) {
            EXPECT_EQ(percentDecode(text.substr(0, at) + escape + text.substr(at)), text.substr(0, at) + "/" + text.substr(at));
        }
        for (const char* kept : {"%", "%2", "%G0", "%2G"}) {
            const std::string raw = text.substr(0, at) + kept + text.substr(at);
            EXPECT_EQ(percentDecode(raw), raw);
        }
    }
}

TEST(PathsTest, AppendPathJoinsWithOneSeparatorAndFileURLsNameExistingFilesOnly) {
    const std::string folder = std::string("folder") + kSeparator + "sub";
    const std::string expected = folder + kSeparator + "VEQPrefs.xml";
    EXPECT_EQ(appendPath(folder.c_str(), "VEQPrefs.xml"), expected);
    EXPECT_EQ(appendPath((folder + kSeparator).c_str(), "VEQPrefs.xml"), expected);

    const std::string longFolder = std::string("root") + kSeparator + std::string(300, 'f');
    EXPECT_EQ(appendPath(longFolder.c_str(), "name"), longFolder + kSeparator + "name");

    // File URLs, of existing files only.
    xloop_test::TempFolder temp;
    const fs::path file = temp.path() / fs::u8path("room page \xc3\xa9.html");
    std::ofstream(file) << "<html></html>";

    const std::string url = fileURLFromPath(file.u8string().c_str());
    EXPECT_EQ(url.rfind("file:///", 0), 0u) << url;
    EXPECT_NE(url.find("room%20page%20"), std::string::npos) << url;
    EXPECT_EQ(url.find(' '), std::string::npos) << url;

    EXPECT_EQ(fileURLFromPath((temp.path() / "missing.html").u8string().c_str()), "");
    EXPECT_NE(fileURLFromPath(temp.path().u8string().c_str()), "");  // a folder counts

    const fs::path previous = fs::current_path();
    fs::current_path(temp.path());
    const std::string relative = fileURLFromPath(file.filename().u8string().c_str());
    fs::current_path(previous);
    EXPECT_EQ(relative, url);
}

}  // namespace
