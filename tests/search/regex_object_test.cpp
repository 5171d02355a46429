// RegexObject: options, 1-based numbering, conversions at its edges and silence on failure.
#include "search/regex_object.h"

#include <gtest/gtest.h>

#include <climits>

#include "platform/regex/regexp_component.h"

namespace quivella {
namespace {

TEST(RegexObject, DefaultsIgnoreCaseMultilineGlobal) {
  RegexObject re;
  ASSERT_TRUE(re.Create("A", "aXa"));
  EXPECT_EQ(re.MatchCount(), 2);
  EXPECT_EQ(re.MatchText(1), "a");

  ASSERT_TRUE(re.Create("A", "aXa", /*caseSensitive=*/true));
  EXPECT_EQ(re.MatchCount(), 0);
  EXPECT_EQ(re.MatchText(1), "");

  ASSERT_TRUE(re.Create("^b", "a\r\nb", false, /*multiLine=*/false));
  EXPECT_EQ(re.MatchCount(), 0);
  ASSERT_TRUE(re.Create("^b", "a\r\nb"));
  EXPECT_EQ(re.MatchCount(), 1);

  ASSERT_TRUE(re.Create("a", "aaa", false, true, /*globalSearch=*/false));
  EXPECT_EQ(re.MatchCount(), 1);
}

TEST(RegexObject, InvalidPatternFailsSilently) {
  RegexObject re;
  ASSERT_TRUE(re.Create("a", "a"));
  EXPECT_FALSE(re.Create("(a", "aaa"));
  EXPECT_EQ(re.MatchCount(), 0);
  EXPECT_EQ(re.SubMatchCount(), 0);
  EXPECT_EQ(re.MatchText(1), "");
  EXPECT_EQ(re.SubMatchText(1, 1), "");
  EXPECT_EQ(re.GetPattern(), "(a");
  EXPECT_EQ(re.Replace("-"), "");
}

TEST(RegexObject, GroupsOfCrLfLines) {
  RegexObject re;
  ASSERT_TRUE(re.Create("(.*)\\n", "ab\r\ncd\r\n"));
  ASSERT_EQ(re.MatchCount(), 2);
  EXPECT_EQ(re.SubMatchText(1, 1), "ab\r");
  EXPECT_EQ(re.SubMatchText(2, 1), "cd\r");
  EXPECT_EQ(re.SubMatchCount(), 1);
}

TEST(RegexObject, TwoByteCharactersAreOneCharacter) {
  RegexObject re;
  // 中. over 中文中b
  ASSERT_TRUE(re.Create("\xD6\xD0.", "\xD6\xD0\xCE\xC4\xD6\xD0" "b"));
  ASSERT_EQ(re.MatchCount(), 2);
  EXPECT_EQ(re.MatchText(1), "\xD6\xD0\xCE\xC4");
  EXPECT_EQ(re.MatchText(2), "\xD6\xD0" "b");
}

TEST(RegexObject, QuoteMarkersBecomeDoubleQuotes) {
  RegexObject re;
  const Text marker = "#\xD2\xFD\xBA\xC5";  // #引号
  ASSERT_TRUE(re.Create(marker + "a" + marker, "x\"a\"y", false, true, true, true));
  EXPECT_EQ(re.GetPattern(), "\"a\"");
  EXPECT_EQ(re.MatchCount(), 1);
  // Without the flag the marker stays as it is.
  ASSERT_TRUE(re.Create(marker, "x", false, true, true, false));
  EXPECT_EQ(re.GetPattern(), marker);
  // Adjacent markers are replaced one by one, left to right.
  ASSERT_TRUE(re.Create(marker + marker + "#", "x", false, true, true, true));
  EXPECT_EQ(re.GetPattern(), "\"\"#");
}

TEST(RegexObject, OutOfRangeNumbersGiveEmptyTexts) {
  RegexObject re;
  ASSERT_TRUE(re.Create("(a)(b)?", "a"));
  ASSERT_EQ(re.MatchCount(), 1);
  EXPECT_EQ(re.SubMatchCount(), 2);
  EXPECT_EQ(re.SubMatchText(1, 1), "a");
  EXPECT_EQ(re.SubMatchText(1, 2), "");  // took no part
  for (const auto& [match, group] : {std::pair{0, 1}, {2, 1}, {1, 0}, {1, 3}, {-1, -1},
                                    {INT_MIN, INT_MIN}, {INT_MAX, 1}, {1, INT_MAX}}) {
    EXPECT_EQ(re.SubMatchText(match, group), "") << match << "," << group;
  }
  EXPECT_EQ(re.MatchText(0), "");
  EXPECT_EQ(re.MatchText(2), "");
}

TEST(RegexObject, ReplaceUsesTheLastSubject) {
  RegexObject re;
  ASSERT_TRUE(re.Create("b", "abcb"));
  EXPECT_EQ(re.Replace("-"), "a-c-");
  ASSERT_TRUE(re.Create("(\xD6\xD0)", "\xD6\xD0" "x"));
  EXPECT_EQ(re.Replace("[$1]"), "[\xD6\xD0]x");
}

TEST(RegexObject, BeforeAnyCreateEverythingIsEmpty) {
  RegexObject re;
  EXPECT_EQ(re.GetPattern(), "");
  EXPECT_EQ(re.MatchText(1), "");
  EXPECT_EQ(re.MatchCount(), 0);
  EXPECT_EQ(re.SubMatchCount(), 0);
  EXPECT_EQ(re.Replace("x"), "");
}

TEST(RegexObject, EmptySubjectAndReusedSubject) {
  RegexObject re;
  ASSERT_TRUE(re.Create("a", ""));
  EXPECT_EQ(re.MatchCount(), 0);
  ASSERT_TRUE(re.Create("x*", ""));
  EXPECT_EQ(re.MatchCount(), 1);
  // A new subject of the same length must not be mistaken for the cached one.
  ASSERT_TRUE(re.Create("a", "ab"));
  EXPECT_EQ(re.MatchCount(), 1);
  ASSERT_TRUE(re.Create("a", "ba"));
  EXPECT_EQ(re.MatchCount(), 1);
  ASSERT_TRUE(re.Create("a", "bb"));
  EXPECT_EQ(re.MatchCount(), 0);
  // The end of the subject is its last character, not the terminating unit.
  ASSERT_TRUE(re.Create("b$", "ab"));
  EXPECT_EQ(re.MatchCount(), 1);
}

TEST(RegexObject, ApartmentIsBalanced) {
  const int before = platform::ApartmentDepth();
  {
    RegexObject re;
    EXPECT_EQ(platform::ApartmentDepth(), before + 1);
    re.Destroy();
    EXPECT_EQ(platform::ApartmentDepth(), before);
    re.Destroy();
    EXPECT_EQ(platform::ApartmentDepth(), before);
  }
  EXPECT_EQ(platform::ApartmentDepth(), before);
  { RegexObject re; }
  EXPECT_EQ(platform::ApartmentDepth(), before);
}

}  // namespace
}  // namespace quivella
