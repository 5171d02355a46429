// The component's object model: settings, the match collection and its views, Replace, the
// apartment counter and the reuse of compiled patterns.
#include "platform/regex/regexp_component.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

#include "platform/regex/regex_matcher.h"
#include "regex_test_util.h"

namespace quivella::platform {
namespace {

using regex::testing::Utf8;

TEST(Component, FreshObjectHasEverySettingOff) {
  const RegExp regExp;
  EXPECT_FALSE(regExp.IgnoreCase());
  EXPECT_FALSE(regExp.Multiline());
  EXPECT_FALSE(regExp.Global());
  EXPECT_EQ(regExp.Pattern(), u"");
}

TEST(Component, CollectionMatchesAndGroups) {
  RegExp regExp;
  regExp.SetPattern(u"(a)(b)?");
  regExp.SetGlobal(true);
  const std::optional<MatchCollection> matches = regExp.Execute(u"xaba");
  ASSERT_TRUE(matches);
  ASSERT_EQ(matches->Count(), 2);
  EXPECT_FALSE(matches->Item(-1));
  EXPECT_FALSE(matches->Item(2));

  const Match first = *matches->Item(0);
  EXPECT_EQ(first.Value(), u"ab");
  EXPECT_EQ(first.FirstIndex(), 1);
  EXPECT_EQ(first.Length(), 2);
  EXPECT_EQ(first.SubMatches().Count(), 2);
  EXPECT_EQ(first.SubMatches().Item(1), u"b");

  const SubMatchCollection groups = matches->Item(1)->SubMatches();
  EXPECT_EQ(matches->Item(1)->FirstIndex(), 3);
  EXPECT_EQ(groups.Count(), 2);
  EXPECT_EQ(groups.Item(0), u"a");
  EXPECT_EQ(groups.Item(1), u"");  // took no part: empty, not absent
  EXPECT_TRUE(groups.IsSet(0));
  EXPECT_FALSE(groups.IsSet(1));
  EXPECT_FALSE(groups.Item(-1));
  EXPECT_FALSE(groups.Item(2));
  EXPECT_FALSE(groups.IsSet(2));

  // The direct group access gives what the two views give.
  for (int m = -1; m <= 2; ++m) {
    for (int g = -1; g <= 2; ++g) {
      const std::optional<Match> match = matches->Item(m);
      EXPECT_EQ(matches->GroupText(m, g),
                match ? match->SubMatches().Item(g) : std::optional<std::u16string_view>())
          << m << "," << g;
    }
  }
}

TEST(Component, GlobalOffGivesTheFirstMatchOnly) {
  RegExp regExp;
  regExp.SetPattern(u"a");
  const std::optional<MatchCollection> matches = regExp.Execute(u"aXa");
  ASSERT_TRUE(matches);
  EXPECT_EQ(matches->Count(), 1);
  regExp.SetGlobal(true);
  EXPECT_EQ(regExp.Execute(u"aXa")->Count(), 2);
}

TEST(Component, SettingsReachTheEngine) {
  RegExp regExp;
  regExp.SetGlobal(true);
  regExp.SetPattern(u"^a");
  EXPECT_EQ(regExp.Execute(u"A\na")->Count(), 0);
  regExp.SetIgnoreCase(true);
  EXPECT_EQ(regExp.Execute(u"A\na")->Count(), 1);
  regExp.SetMultiline(true);
  EXPECT_EQ(regExp.Execute(u"A\na")->Count(), 2);
}

TEST(Component, RejectedPatternGivesNothing) {
  RegExp regExp;
  regExp.SetPattern(u"(a");
  EXPECT_FALSE(regExp.Execute(u"a"));
  EXPECT_FALSE(regExp.Replace(u"a", u"b"));
}

TEST(Component, NoMatchGivesAnEmptyCollection) {
  RegExp regExp;
  regExp.SetPattern(u"z");
  const std::optional<MatchCollection> matches = regExp.Execute(u"abc");
  ASSERT_TRUE(matches);
  EXPECT_EQ(matches->Count(), 0);
  EXPECT_FALSE(matches->Item(0));
}

TEST(Component, ExecuteRunsOverTheGivenLengthOnly) {
  RegExp regExp;
  regExp.SetPattern(u"c$");
  const auto subject = std::make_shared<const std::u16string>(std::u16string(u"abc\0", 4));
  EXPECT_EQ(regExp.Execute(subject)->Count(), 0);
  EXPECT_EQ(regExp.Execute(subject, 3)->Count(), 1);
  EXPECT_EQ(regExp.Execute(subject, 99)->Count(), 0);  // clamped to the subject
  EXPECT_EQ(regExp.Execute(std::shared_ptr<const std::u16string>())->Count(), 0);  // as ""
}

TEST(Component, ViewsOutliveTheCollectionAndTheCallersSubject) {
  RegExp regExp;
  regExp.SetPattern(u"b+");
  std::optional<Match> match;
  {
    auto subject = std::make_shared<const std::u16string>(u"abbc");
    std::optional<MatchCollection> matches = regExp.Execute(subject);
    match = matches->Item(0);
  }
  EXPECT_EQ(match->Value(), u"bb");
  EXPECT_EQ(match->FirstIndex(), 1);
}

TEST(Component, ReplaceSubstitutions) {
  struct ReplaceCase {
    std::u16string_view pattern;
    bool global;
    std::u16string_view subject;
    std::u16string_view replacement;
    std::u16string_view expected;
  };
  constexpr ReplaceCase kCases[] = {
      {u"b", true, u"abcb", u"-", u"a-c-"},
      {u"b", false, u"abcb", u"-", u"a-cb"},
      {u"z", true, u"abc", u"-", u"abc"},
      {u"(a)(b)?", true, u"ab a", u"[$2$1]", u"[ba] [a]"},
      {u"b", false, u"abc", u"[$&|$`|$']", u"a[b|a|c]c"},
      {u"b", false, u"abc", u"$$&$", u"a$&$c"},
      {u"b", false, u"abc", u"$0$1$x$", u"a$0$1$x$c"},
      {u"(b)", false, u"abc", u"$01$10$2", u"abb0$2c"},
      {u"(b)", false, u"abc", u"$$1", u"a$1c"},
      {u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", false, u"abcdefghij", u"$10$11", u"ja1"},
      {u"a*", true, u"baaac", u"-", u"-b--c-"},
      {u"", true, u"ab", u"-", u"-a-b-"},
      {u"x", true, u"", u"-", u""},
  };
  for (const ReplaceCase& c : kCases) {
    RegExp regExp;
    regExp.SetPattern(std::u16string(c.pattern));
    regExp.SetGlobal(c.global);
    const std::optional<std::u16string> replaced = regExp.Replace(c.subject, c.replacement);
    ASSERT_TRUE(replaced) << Utf8(c.pattern);
    EXPECT_EQ(Utf8(*replaced), Utf8(c.expected))
        << "/" << Utf8(c.pattern) << "/ over \"" << Utf8(c.subject) << "\" with \""
        << Utf8(c.replacement) << "\"";
  }
}

TEST(Component, ApartmentCounterIsPerThreadAndNeverNegative) {
  const int before = ApartmentDepth();
  ApartmentInitialize();
  ApartmentInitialize();
  EXPECT_EQ(ApartmentDepth(), before + 2);
  int otherThread = -1;
  std::thread([&] { otherThread = ApartmentDepth(); }).join();
  EXPECT_EQ(otherThread, 0);
  ApartmentUninitialize();
  ApartmentUninitialize();
  EXPECT_EQ(ApartmentDepth(), before);
  while (ApartmentDepth() > 0) {
    ApartmentUninitialize();
  }
  ApartmentUninitialize();
  EXPECT_EQ(ApartmentDepth(), 0);
  for (int i = 0; i < before; ++i) {
    ApartmentInitialize();
  }
}

TEST(Component, CompiledPatternIsReusedForTheSamePatternAndSettings) {
  const regex::CompileOptions caseless{true, true, true};
  const regex::CompileOptions exact{false, true, true};
  const auto first = regex::CompileCached(u"(.*k.*\\?)(.*)\\n", caseless).pattern;
  const auto again = regex::CompileCached(u"(.*k.*\\?)(.*)\\n", caseless).pattern;
  const auto other = regex::CompileCached(u"(.*k.*\\?)(.*)\\n", exact).pattern;
  ASSERT_TRUE(first && other);
  EXPECT_EQ(first.get(), again.get());
  EXPECT_NE(first.get(), other.get());
  EXPECT_EQ(regex::CompileCached(u"(.*k.*\\?)(.*)\\n", caseless).pattern.get(), first.get());

  // A rejected pattern is remembered as rejected.
  EXPECT_FALSE(regex::CompileCached(u"(", caseless).pattern);
  EXPECT_FALSE(regex::CompileCached(u"(", caseless).pattern);

  // The same results whether the object compiles afresh or reuses.
  RegExp regExp;
  regExp.SetIgnoreCase(true);
  regExp.SetGlobal(true);
  regExp.SetPattern(u"(.*k.*\\?)(.*)\\n");
  const std::u16string subject = u"Ka?b\nx?y\n\u212A?z\nk?K\n";
  const std::optional<MatchCollection> once = regExp.Execute(subject);
  const std::optional<MatchCollection> twice = regExp.Execute(subject);
  ASSERT_TRUE(once && twice);
  ASSERT_EQ(once->Count(), 2);
  ASSERT_EQ(twice->Count(), 2);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(once->Item(i)->Value(), twice->Item(i)->Value());
    EXPECT_EQ(once->Item(i)->SubMatches().Item(1), twice->Item(i)->SubMatches().Item(1));
  }
  EXPECT_EQ(once->Item(1)->FirstIndex(), 13);
}

}  // namespace
}  // namespace quivella::platform
