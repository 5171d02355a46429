// Hostile patterns and subjects: each one ends in a clean failure or a correct answer, never
// a hang or a crash. No test measures time; the limits themselves make the outcome certain.
#include "platform/regex/regex_matcher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/regex/regex_parser.h"
#include "platform/regex/regexp_component.h"
#include "regex_test_util.h"

namespace quivella::platform::regex {
namespace {

using testing::Utf8;

std::u16string Repeat(std::u16string_view unit, std::size_t count) {
  std::u16string out;
  for (std::size_t i = 0; i < count; ++i) {
    out += unit;
  }
  return out;
}

class Limits : public ::testing::TestWithParam<bool> {
 protected:
  // Runs pattern over subject globally on the engine under test.
  MatchStatus Run(std::u16string_view pattern, std::u16string_view subject, MatchList& matches,
                  std::chrono::steady_clock::duration budget = kFindAllBudget) {
    const CompileOutcome compiled = CompilePattern(pattern, {false, false, GetParam()});
    EXPECT_TRUE(compiled.pattern) << Utf8(pattern);
    if (!compiled.pattern) {
      return MatchStatus::kFailed;
    }
    return compiled.pattern->FindAll(subject, true, matches, budget);
  }
};

TEST_P(Limits, CatastrophicBacktrackingFailsTheSearch) {
  const std::u16string as = Repeat(u"a", 30) + u"!";
  for (std::u16string_view pattern :
       {u"(a|a)*[bc]", u"(a*)*[bc]", u"(?:a+)+[bc]", u"(.*a){20}[bc]"}) {
    MatchList matches;
    EXPECT_EQ(Run(pattern, as, matches), MatchStatus::kLimitExceeded) << Utf8(pattern);
  }
  // Where PCRE2 can tell at once that a unit the match needs is missing, the answer is a
  // plain "no match".
  MatchList matches;
  EXPECT_EQ(Run(u"(a|a)*b", Repeat(u"a", 30), matches), MatchStatus::kOk);
  EXPECT_EQ(matches.Count(), 0);
}

TEST_P(Limits, ExpensiveAttemptsAtManyPositionsRunOutOfTime) {
  // Every start position costs millions of steps, each below the match limit, which PCRE2
  // counts afresh at each position: only the time budget ends this search.
  const std::u16string subject = Repeat(Repeat(u"a", 22) + u"!", 200);
  MatchList matches;
  EXPECT_EQ(Run(u"(a|a)*[bc]", subject, matches, std::chrono::milliseconds(100)),
            MatchStatus::kLimitExceeded);
}

TEST_P(Limits, SpentBudgetStopsAtTheNextAttempts) {
  MatchList matches;
  EXPECT_EQ(Run(u"a", Repeat(u"a", 100), matches, std::chrono::seconds(-1)),
            MatchStatus::kLimitExceeded);
  EXPECT_EQ(Run(u"a", Repeat(u"a", 100), matches), MatchStatus::kOk);
  EXPECT_EQ(matches.Count(), 100);
}

TEST_P(Limits, LongLoopsFitTheStacks) {
  // The default 32 KiB JIT stack gives up after about ten thousand iterations of such a loop.
  const std::u16string subject = Repeat(u"ab", 100000) + u"c";
  for (std::u16string_view pattern : {u"(a|b)*c", u"(?:(a)|b)*?c", u"(?:ab)+c"}) {
    MatchList matches;
    ASSERT_EQ(Run(pattern, subject, matches), MatchStatus::kOk) << Utf8(pattern);
    ASSERT_EQ(matches.Count(), 1);
    EXPECT_EQ(matches.End(0, 0), static_cast<std::int32_t>(subject.size()));
  }
}

INSTANTIATE_TEST_SUITE_P(Engine, Limits, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& param) {
                           return param.param ? "Jit" : "Interpreter";
                         });

TEST(Limits, NestingDepthIsBounded) {
  auto nested = [](int depth, std::u16string_view open, std::u16string_view leaf,
                   std::u16string_view close) {
    return Repeat(open, static_cast<std::size_t>(depth)) + std::u16string(leaf) +
           Repeat(close, static_cast<std::size_t>(depth));
  };
  // The deepest accepted nesting compiles in its most expanded form: quantified groups
  // around a caseless negated class whose members fold differently in PCRE2.
  for (std::u16string_view open : {u"(", u"(?:", u"(?="}) {
    const std::u16string deepest = nested(kMaxNestingDepth, open, u"[^k]", u")*");
    const CompileOutcome compiled = CompilePattern(deepest, {true, true, true});
    EXPECT_TRUE(compiled.pattern) << Utf8(open) << ": " << Describe(compiled.error.code);

    const ParseOutcome tooDeep = ParsePattern(nested(kMaxNestingDepth + 1, open, u"a", u")"));
    ASSERT_FALSE(tooDeep.pattern);
    EXPECT_EQ(tooDeep.error.code, ErrorCode::kNestingTooDeep);
    EXPECT_EQ(tooDeep.error.position, static_cast<std::size_t>(kMaxNestingDepth) * open.size());
  }
  // Far deeper input fails the same way, without exhausting the stack.
  EXPECT_FALSE(ParsePattern(nested(100000, u"(", u"a", u")")).pattern);
  EXPECT_FALSE(ParsePattern(Repeat(u"(", 60000)).pattern);
}

TEST(Limits, PatternLengthIsBounded) {
  EXPECT_TRUE(ParsePattern(Repeat(u"a", kMaxPatternLength)).pattern);
  const ParseOutcome tooLong = ParsePattern(Repeat(u"a", kMaxPatternLength + 1));
  ASSERT_FALSE(tooLong.pattern);
  EXPECT_EQ(tooLong.error.code, ErrorCode::kPatternTooLong);
  EXPECT_EQ(tooLong.error.position, kMaxPatternLength);
  // PCRE2 caps the compiled size: beyond it the pattern is refused, not truncated.
  const CompileOutcome huge = CompilePattern(Repeat(u"a", kMaxPatternLength), {});
  EXPECT_FALSE(huge.pattern);
  EXPECT_EQ(huge.error.code, ErrorCode::kEngineRejected);
}

TEST(Limits, ComponentFailsCleanlyOnEveryLimit) {
  RegExp regExp;
  regExp.SetGlobal(true);
  regExp.SetPattern(u"(a|a)*[bc]");
  EXPECT_FALSE(regExp.Execute(Repeat(u"a", 30) + u"!"));
  EXPECT_FALSE(regExp.Replace(Repeat(u"a", 30) + u"!", u"x"));
  regExp.SetPattern(u"a{99999}");
  EXPECT_FALSE(regExp.Execute(u"a"));
  regExp.SetPattern(Repeat(u"(", 300) + u"a" + Repeat(u")", 300));
  EXPECT_FALSE(regExp.Execute(u"a"));
  regExp.SetPattern(u"(a)");  // and it recovers at once
  EXPECT_EQ(regExp.Execute(u"aa")->Count(), 2);
}

}  // namespace
}  // namespace quivella::platform::regex
