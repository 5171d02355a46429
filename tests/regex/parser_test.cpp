// What the dialect accepts and rejects, with the position the parser reports.
#include "platform/regex/regex_parser.h"

#include <gtest/gtest.h>

#include <string>

#include "regex_test_util.h"

namespace quivella::platform::regex {
namespace {

using testing::Utf8;

struct SyntaxCase {
  std::u16string_view pattern;
  ErrorCode code;  // kNone: accepted
  std::size_t position;
};

constexpr SyntaxCase kSyntaxCases[] = {
    // Accepted, including the readings where a character is literal rather than syntax.
    {u"", ErrorCode::kNone, 0},
    {u"a|", ErrorCode::kNone, 0},
    {u"|a", ErrorCode::kNone, 0},
    {u"()", ErrorCode::kNone, 0},
    {u"(?:)(?=)(?!)", ErrorCode::kNone, 0},
    {u"a{", ErrorCode::kNone, 0},
    {u"a{x}", ErrorCode::kNone, 0},
    {u"a{,5}", ErrorCode::kNone, 0},
    {u"a{1,2", ErrorCode::kNone, 0},
    {u"x}", ErrorCode::kNone, 0},
    {u"]", ErrorCode::kNone, 0},
    {u"{", ErrorCode::kNone, 0},
    {u"[]a]", ErrorCode::kNone, 0},
    {u"[^]a]", ErrorCode::kNone, 0},
    {u"[a-]", ErrorCode::kNone, 0},
    {u"[\\d-z]", ErrorCode::kNone, 0},
    {u"[a-\\w]", ErrorCode::kNone, 0},
    {u"(?=a)*b", ErrorCode::kNone, 0},
    {u"(?!a){2,3}?b", ErrorCode::kNone, 0},
    {u"a{2}?", ErrorCode::kNone, 0},
    {u"a{65535}", ErrorCode::kNone, 0},
    {u"a{0,65535}", ErrorCode::kNone, 0},
    {u"\\c", ErrorCode::kNone, 0},
    {u"\\Q\\E\\z\\p{L}\\k<n>", ErrorCode::kNone, 0},
    {u"(a)\\1*", ErrorCode::kNone, 0},
    {u"\\x{41}", ErrorCode::kNone, 0},  // \x then the count {41} on the "x"
    // Groups.
    {u"(", ErrorCode::kMissingParen, 0},
    {u"a(b", ErrorCode::kMissingParen, 1},
    {u"((a)", ErrorCode::kMissingParen, 0},
    {u"(?:a", ErrorCode::kMissingParen, 0},
    {u")", ErrorCode::kUnmatchedParen, 0},
    {u"a)b", ErrorCode::kUnmatchedParen, 1},
    {u"(a))", ErrorCode::kUnmatchedParen, 3},
    {u"(?<=a)b", ErrorCode::kInvalidGroup, 0},
    {u"(?<!a)b", ErrorCode::kInvalidGroup, 0},
    {u"x(?<n>a)", ErrorCode::kInvalidGroup, 1},
    {u"(?i)a", ErrorCode::kInvalidGroup, 0},
    {u"(?>a)", ErrorCode::kInvalidGroup, 0},
    {u"(?", ErrorCode::kInvalidGroup, 0},
    {u"(*ACCEPT)", ErrorCode::kNothingToRepeat, 1},
    // Classes.
    {u"[", ErrorCode::kUnterminatedClass, 0},
    {u"[]", ErrorCode::kUnterminatedClass, 0},
    {u"[^]", ErrorCode::kUnterminatedClass, 0},
    {u"ab[cd", ErrorCode::kUnterminatedClass, 2},
    {u"[\\", ErrorCode::kUnterminatedClass, 0},
    {u"[a-", ErrorCode::kUnterminatedClass, 0},
    {u"[z-a]", ErrorCode::kReversedRange, 1},
    {u"[ab\\x42-\\x41]", ErrorCode::kReversedRange, 3},
    // Nothing to repeat.
    {u"*a", ErrorCode::kNothingToRepeat, 0},
    {u"a|+", ErrorCode::kNothingToRepeat, 2},
    {u"(?a)", ErrorCode::kInvalidGroup, 0},
    {u"(*)", ErrorCode::kNothingToRepeat, 1},
    {u"(?:?)", ErrorCode::kNothingToRepeat, 3},
    {u"a**", ErrorCode::kNothingToRepeat, 2},
    {u"a*+", ErrorCode::kNothingToRepeat, 2},
    {u"a++", ErrorCode::kNothingToRepeat, 2},
    {u"a{2}{3}", ErrorCode::kNothingToRepeat, 4},
    {u"a*??", ErrorCode::kNothingToRepeat, 3},
    {u"a{1,2}?*", ErrorCode::kNothingToRepeat, 7},
    {u"^*", ErrorCode::kNothingToRepeat, 1},
    {u"a$?", ErrorCode::kNothingToRepeat, 2},
    {u"\\b+", ErrorCode::kNothingToRepeat, 2},
    {u"\\B{2}", ErrorCode::kNothingToRepeat, 2},
    {u"{2}", ErrorCode::kNothingToRepeat, 0},
    {u"a|{1,}", ErrorCode::kNothingToRepeat, 2},
    // Counts.
    {u"a{2,1}", ErrorCode::kRepeatOutOfOrder, 1},
    {u"a{65536}", ErrorCode::kRepeatTooLarge, 1},
    {u"a{1,65536}", ErrorCode::kRepeatTooLarge, 1},
    {u"ab{99999999999999999999,}", ErrorCode::kRepeatTooLarge, 2},
    // Escapes.
    {u"a\\", ErrorCode::kTrailingBackslash, 1},
    {u"\\", ErrorCode::kTrailingBackslash, 0},
};

TEST(Parser, AcceptsAndRejectsAtPosition) {
  for (const SyntaxCase& c : kSyntaxCases) {
    const ParseOutcome outcome = ParsePattern(c.pattern);
    SCOPED_TRACE("pattern /" + Utf8(c.pattern) + "/");
    if (c.code == ErrorCode::kNone) {
      EXPECT_TRUE(outcome.pattern.has_value())
          << "rejected: " << Describe(outcome.error.code) << " at " << outcome.error.position;
      continue;
    }
    ASSERT_FALSE(outcome.pattern.has_value()) << "accepted";
    EXPECT_EQ(Describe(outcome.error.code), Describe(c.code));
    EXPECT_EQ(outcome.error.position, c.position);
  }
}

TEST(Parser, CountsGroupsByOpeningParenthesisIncludingLookaheads) {
  struct GroupCase {
    std::u16string_view pattern;
    int groups;
  };
  constexpr GroupCase kCases[] = {
      {u"", 0}, {u"(?:a)(?=b)", 0}, {u"((a)(b))", 3}, {u"(?=(a))(?!(b))", 2}, {u"\\(\\)[()]", 0},
  };
  for (const GroupCase& c : kCases) {
    const ParseOutcome outcome = ParsePattern(c.pattern);
    ASSERT_TRUE(outcome.pattern.has_value()) << Utf8(c.pattern);
    EXPECT_EQ(outcome.pattern->groupCount, c.groups) << Utf8(c.pattern);
  }
}

}  // namespace
}  // namespace quivella::platform::regex
