// Code page 936 conversions and the code-page-aware byte search.
#include "platform/cp936.h"

#include <gtest/gtest.h>

namespace quivella {
namespace {

TEST(Cp936, RoundTripsChineseAndAscii) {
  const Text text = "\xD6\xD0\xCE\xC4 abc?";  // 中文 abc?
  const std::u16string units = ToUtf16(text);
  EXPECT_EQ(units, std::u16string(u"中文 abc?") + u'\0');
  EXPECT_EQ(FromUtf16(units), text);
  EXPECT_EQ(StandardToUtf16(text), u"中文 abc?");
  EXPECT_EQ(StandardFromUtf16(u"中文 abc?"), text);
}

TEST(Cp936, EmptyAndNulEndedTexts) {
  EXPECT_EQ(ToUtf16(""), u"");
  EXPECT_EQ(ToUtf16(std::string_view("ab\0cd", 5)), std::u16string(u"ab") + u'\0');
  EXPECT_EQ(StandardToUtf16(std::string_view("ab\0cd", 5)), u"ab");
  EXPECT_EQ(StandardFromUtf16(std::u16string_view(u"ab\0cd", 5)), "ab");
  EXPECT_EQ(FromUtf16(u""), "");
}

TEST(Cp936, InvalidBytesBecomeReplacementCharacter) {
  // 0x81 followed by 0x20 or 0x7F is no character; both bytes are not swallowed silently.
  EXPECT_EQ(StandardToUtf16("a\x81\x7F" "b").substr(0, 2), u"a\uFFFD");
  const std::u16string lone = StandardToUtf16("\x81 ");
  EXPECT_EQ(lone.front(), u'\uFFFD');
  EXPECT_EQ(StandardToUtf16("\xD6"), u"\uFFFD");  // a lead byte cut off at the end
}

TEST(Cp936, UnmappableCharacters) {
  EXPECT_EQ(StandardFromUtf16(u"a\u0E01b"), "a?b");          // Thai has no CP936 form
  const Text query = QueryTextFromUtf16(u"a|\U0001F600");
  EXPECT_EQ(query.find('?'), Text::npos);
  EXPECT_EQ(query.substr(0, 2), "a|");
  const std::u16string back = StandardToUtf16(query);
  ASSERT_EQ(back.size(), 3u);
  EXPECT_GE(back[2], u'\uE000');  // private use: matches nothing in a bank
  EXPECT_LE(back[2], u'\uF8FF');
}

TEST(Cp936, FromUtf16ComposesBaseAndMark) {
  // e + combining acute composes to U+00E9, which code page 936 has (0xA8 0xA6).
  EXPECT_EQ(FromUtf16(u"e\u0301"), "\xA8\xA6");
  EXPECT_EQ(FromUtf16(Utf16FromLeBytes(std::string("a\0b\0c", 5))), "ab");  // odd byte ignored
}

TEST(Cp936, FindTextNeverStartsAtASecondByte) {
  // 0xB0 0xA1 is one character; "\xA1" at position 1 must not be found as a character start.
  const Text hay = "\xB0\xA1\xA1\xA2x";
  EXPECT_EQ(FindText(hay, "\xA1\xA2"), 2u);
  EXPECT_EQ(FindText("a\xD6" "ab", "ab"), std::string::npos);  // 'a' after 0xD6 is a second byte
  EXPECT_EQ(FindText("xxabab", "ab"), 2u);
  EXPECT_EQ(FindText("abc", ""), 0u);
  EXPECT_EQ(FindText("ab", "abc"), std::string::npos);
}

}  // namespace
}  // namespace quivella
