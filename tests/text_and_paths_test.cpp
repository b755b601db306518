// UTF-8/UTF-16 conversions, path joining and file URLs, on real files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/utf.h"
#include "runtime/paths.h"
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
    const char16_t loneSurrogate[] = {u'x', 0xD800, u'y', 0};
    EXPECT_EQ(toUtf8(loneSurrogate), "x\xef\xbf\xbdy");
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
