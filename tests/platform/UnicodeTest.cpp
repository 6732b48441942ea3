#include "platform/Unicode.h"

#include <gtest/gtest.h>

namespace rizorivu {
namespace {

TEST(Unicode, Utf16RoundTripIncludingSurrogatePairs) {
    const std::string text = "Wi-Fi café 日本 \xF0\x9F\x93\xB6";  // ends with U+1F4F6
    const std::u16string wide = utf8ToUtf16(text);
    EXPECT_EQ(wide.size(), 16u);  // the last character takes two units
    EXPECT_EQ(utf16ToUtf8(wide), text);
}

TEST(Unicode, MalformedInputBecomesReplacementCharacters) {
    EXPECT_EQ(utf16ToUtf8(u"a\xD800"
                          u"b"),
              "a\xEF\xBF\xBD"
              "b");  // lone high surrogate
    EXPECT_EQ(utf16ToUtf8(std::u16string(1, u'\xDC00')), "\xEF\xBF\xBD");
    EXPECT_EQ(utf8ToUtf16("a\xFF"), u"a\xFFFD");
    EXPECT_EQ(utf8ToUtf16("\xE6\x97"), u"\xFFFD\xFFFD");            // truncated sequence
    EXPECT_EQ(utf8ToUtf16("\xC0\xAF"), u"\xFFFD\xFFFD");            // overlong form
    EXPECT_EQ(utf8ToUtf16("\xED\xA0\x80"), u"\xFFFD\xFFFD\xFFFD");  // encoded surrogate
}

TEST(Unicode, LengthAndPrefixCountCharacters) {
    EXPECT_EQ(utf8Length("café"), 4u);
    EXPECT_EQ(utf8Prefix("café!", 4), "café");
    EXPECT_EQ(utf8Prefix("日本語", 2), "日本");
    EXPECT_EQ(utf8Prefix("ab", 10), "ab");
    EXPECT_EQ(utf8Prefix("ab", 0), "");
}

TEST(Unicode, TrimRemovesBlanksOnBothEnds) {
    EXPECT_EQ(trimBlanks(" \t Home \r\n"), "Home");
    EXPECT_EQ(trimBlanks("a b"), "a b");
    EXPECT_EQ(trimBlanks("   "), "");
}

TEST(Unicode, CaseFolderUpperCasesBeyondAscii) {
    const CaseFolder folder;
    EXPECT_EQ(folder.upper("café"), "CAFÉ");
    EXPECT_TRUE(folder.equal("Straße", "STRAßE"));
    EXPECT_TRUE(folder.equal("ΑΒΓ", "αβγ"));
    EXPECT_TRUE(folder.equal("profilelink", "ProfileLink"));
    EXPECT_FALSE(folder.equal("Home", "Home "));
    EXPECT_EQ(folder.upper("日本"), "日本");
}

}  // namespace
}  // namespace rizorivu
