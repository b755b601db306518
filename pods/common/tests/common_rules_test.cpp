// The escaping of the libraries' lines and the keys of owned pages.
#include <string>

#include <gtest/gtest.h>

#include "pods/common/log_line.h"
#include "pods/common/owned_pages.h"

namespace veqpod {
namespace {

TEST(CommonRulesTest, LinesEscapeEveryByteThatIsNotPrintableAscii) {
    EXPECT_EQ(escaped("plain text: <a href='x'>"), "plain text: <a href='x'>");
    EXPECT_EQ(escaped("\b\f\n\r\t\v\\\""), "\\b\\f\\n\\r\\t\\v\\\\\\\"");
    EXPECT_EQ(escaped("\x01\x1b\x1f\x7f"), "\\001\\033\\037\\177");
    EXPECT_EQ(escaped("\xc3\xa9\xff"), "\\303\\251\\377");
    EXPECT_EQ(escaped(std::string("cut\0here", 8)), "cut");
}

TEST(CommonRulesTest, KeysNameTheOriginWithItsPortOrTheUnescapedFile) {
    EXPECT_EQ(originKey("http", "127.0.0.1", 0), "http://127.0.0.1:80");
    EXPECT_EQ(originKey("https", "example.test", 0), "https://example.test:443");
    EXPECT_EQ(originKey("https", "example.test", 8443), "https://example.test:8443");
    EXPECT_EQ(originKey("ftp", "example.test", 21), "");
    EXPECT_EQ(originKey("http", "", 80), "");

    EXPECT_EQ(fileKey("file:///rooms/the%20room.html?x#y"), "file:///rooms/the room.html");
    EXPECT_EQ(fileKey("file:///rooms/%zz.html"), "");
    EXPECT_EQ(fileKey("file:///rooms/a%00.html"), "");
    EXPECT_EQ(fileKey("file:///rooms/a%2"), "");
    EXPECT_EQ(fileKey("http://example.test/"), "");
}

}  // namespace
}  // namespace veqpod
