// The object text the module and the room page exchange: how it is written,
// and how the page's argument objects are read back.
#include <gtest/gtest.h>

#include <string>

#include "page/script_object.h"

using XLoop::parseActionArguments;
using XLoop::ScriptObject;
using XLoop::serializeJsonObject;

namespace {

TEST(ScriptObjectWriterTest, WritesKeysInByteOrderWithOneBlankAfterEachCommaAndEscapes) {
    EXPECT_EQ(serializeJsonObject({}), "{}");
    EXPECT_EQ(serializeJsonObject({{"b", "2"}, {"a", "1"}}), R"({"a":"1", "b":"2"})");
    // Capitals before small letters, a key before the longer keys it begins.
    EXPECT_EQ(serializeJsonObject({{"key", "x"}, {"KEY", "y"}, {"keys", "z"}, {"", "e"}}),
              R"({"":"e", "KEY":"y", "key":"x", "keys":"z"})");
    // Quotes, backslashes and every control byte are escaped.
    EXPECT_EQ(serializeJsonObject({{"v", "say \"hi\" \\ /"}}), R"({"v":"say \"hi\" \\ /"})");
    EXPECT_EQ(serializeJsonObject({{"v", "\b\f\n\r\t"}}), R"({"v":"\b\f\n\r\t"})");
    EXPECT_EQ(serializeJsonObject({{"v", std::string("\x01\x1f\x7f", 3)}}), "{\"v\":\"\\u0001\\u001f\x7f\"}");
    EXPECT_EQ(serializeJsonObject({{"\xc3\xa9", "\xf0\x9f\x98\x80"}}), "{\"\xc3\xa9\":\"\xf0\x9f\x98\x80\"}");
}

TEST(ScriptObjectReaderTest, ReadsTheWritersLayoutAndJsonStringifysAlikeWithUnicodeEscapes) {
    const ScriptObject expected{{"key", "a"}, {"value", "b"}};
    EXPECT_EQ(parseActionArguments(R"({"key":"a", "value":"b"})"), expected);
    EXPECT_EQ(parseActionArguments(R"({"key":"a","value":"b"})"), expected);
    EXPECT_EQ(parseActionArguments(" {\n\t\"key\" : \"a\" ,\r\n \"value\":  \"b\" } "), expected);

    const ScriptObject tricky{{"q\"b\\", "\b\f\n\r\t/"}, {"\xc3\xa9", "\x01"}};
    EXPECT_EQ(parseActionArguments(serializeJsonObject(tricky)), tricky);
    // Long plain runs with escapes, a control byte or the end anywhere in them.
    const std::string run = std::string(13, 'x') + "\"" + std::string(7, 'y') + "\\" + std::string(30, 'z') + "\n";
    const ScriptObject runs{{"k", run}};
    EXPECT_EQ(parseActionArguments(serializeJsonObject(runs)), runs);
    EXPECT_TRUE(parseActionArguments("{\"k\":\"" + std::string(20, 'x') + "\x01" + std::string(20, 'x') + "\"}")
                    .empty());
    EXPECT_TRUE(parseActionArguments("{\"k\":\"" + std::string(20, 'x')).empty());

    // Unicode escapes become UTF-8.
    EXPECT_EQ(parseActionArguments(R"({"v":"caf\u00e9 \u20AC \/"})").at("v"), "caf\xc3\xa9 \xe2\x82\xac /");
    // A surrogate pair is one character; a lone surrogate is U+FFFD.
    EXPECT_EQ(parseActionArguments(R"({"v":"\ud83d\ude00"})").at("v"), "\xf0\x9f\x98\x80");
    EXPECT_EQ(parseActionArguments(R"({"v":"a\ud83dz"})").at("v"), "a\xef\xbf\xbdz");
    EXPECT_EQ(parseActionArguments(R"({"v":"\ude00\ud83d"})").at("v"), "\xef\xbf\xbd\xef\xbf\xbd");
}

TEST(ScriptObjectReaderTest, AFaultKeepsThePairsBeforeItAndNeverMisreadsAKey) {
    const ScriptObject first{{"a", "1"}};
    for (const char* text : {
             R"({"a":"1", "b":"\u0000"})",  // a zero byte would cut the text short
             R"({"a":"1", "b":"\x"})",      // unknown escape
             R"({"a":"1", "b":"\u12"})",    // short \u escape
             R"({"a":"1", "b":5, "c":"3"})",  // not a text
             R"({"a":"1", "b":true})",
             R"({"a":"1", "b":{"c":"d"}})",
             R"({"a":"1" "b":"2"})",        // no comma
             R"({"a":"1", "b" "2"})",       // no colon
             R"({"a":"1", "b":"2)",         // no closing quote
             R"({"a":"1", b:"2"})",
             R"({"a":"1",})",
         }) {
        EXPECT_EQ(parseActionArguments(text), first) << text;
    }
    EXPECT_EQ(parseActionArguments("{\"a\":\"1\", \"b\":\"line\nbreak\"}"), first);  // raw control byte
    EXPECT_EQ(parseActionArguments(R"({"a":"1")"), first);  // no closing brace

    // Empty objects and non-objects give no pairs; the first of a repeated key wins.
    for (const char* text : {"{}", "{ }", "", "[]", "\"key\"", "key", "}{", "{"})
        EXPECT_TRUE(parseActionArguments(text).empty()) << text;
    EXPECT_EQ(parseActionArguments(R"({"k":"first", "k":"second", "l":"x"})"),
              (ScriptObject{{"k", "first"}, {"l", "x"}}));
}

}  // namespace
