// What patterns match, construct by construct, run through the matcher with PCRE2's JIT and
// with its interpreter: both must give the same, dialect-exact answers.
#include "platform/regex/regex_matcher.h"

#include <gtest/gtest.h>

#include <string>

#include "regex_test_util.h"

namespace quivella::platform::regex {
namespace {

using namespace std::string_view_literals;
using testing::Describe;
using testing::Utf8;

struct MatchCase {
  std::u16string_view pattern;
  std::string_view flags;  // any of "g" (Global), "i" (IgnoreCase), "m" (Multiline)
  std::u16string_view subject;
  // Describe()'s form: "index:value(groups)" per match, "\u2205" for an unset group;
  // "rejected" when the pattern must fail.
  std::u16string_view expected;
};

// clang-format off
constexpr MatchCase kMatchCases[] = {
    // "." takes every unit but LF, CR and the Unicode line separators included.
    {u".", "g", u"a\r\n\u2028\u2029", u"0:a 1:\r 3:\u2028 4:\u2029"},
    {u".", "g", u"\U0001F600", u"0:\xD83D 1:\xDE00"},  // one unit at a time
    {u"a.c", "g", u"a\nc abc", u"4:abc"},
    // ^ and $: the input's ends; with Multiline also beside LF or CR.
    {u"^a", "g", u"ba\na", u""},
    {u"^a", "gm", u"ba\na\ra", u"3:a 5:a"},
    {u"a$", "g", u"a\n", u""},
    {u"a$", "g", u"ba", u"1:a"},
    {u"a$", "gm", u"a\r\nb", u"0:a"},
    {u"^", "gm", u"a\r\nb", u"0: 2: 3:"},
    {u"$", "gm", u"a\r\nb", u"1: 2: 4:"},
    {u"^$", "gm", u"\r\n", u"0: 1: 2:"},
    {u"(.*)\\n", "gm", u"ab\r\ncd\r\n", u"0:ab\r\n(ab\r) 4:cd\r\n(cd\r)"},
    // Class escapes: ASCII only, and \s exactly [ \t\n\v\f\r].
    {u"\\d+", "g", u"a12\u06634", u"1:12 4:4"},
    {u"\\D", "g", u"1a\u0663", u"1:a 2:\u0663"},
    {u"\\w+", "g", u"ab_9\u00E9x", u"0:ab_9 5:x"},
    {u"\\W", "g", u"a-\u00E9", u"1:- 2:\u00E9"},
    {u"\\s+", "g", u" \t\n\v\f\r\u00A0\u3000\u2028", u"0: \t\n\v\f\r"},
    {u"\\S+", "g", u"\u3000\u00A0 a", u"0:\u3000\u00A0 3:a"},
    {u"\\w+", "gi", u"k\u212As\u017F", u"0:k 2:s"},
    {u"\\W", "gi", u"k\u212As\u017F", u"1:\u212A 3:\u017F"},
    {u"\\d", "gi", u"\u0663\uFF11", u""},
    // Word boundaries use ASCII \w; inside a class \b is backspace.
    {u"\\b\\w+\\b", "g", u"ab \u00E9c", u"0:ab 4:c"},
    {u"\\b", "g", u"ab cd", u"0: 2: 3: 5:"},
    {u"\\Ba", "g", u"aa a", u"1:a"},
    {u"\\bk", "gi", u"\u212Ak", u"1:k"},
    {u"[\\b]", "g", u"a\bb", u"1:\b"},
    // Character escapes.
    {u"\\f\\n\\r\\t\\v", "g", u"\f\n\r\t\v", u"0:\f\n\r\t\v"},
    {u"\\x41\\u0042", "g", u"AB", u"0:AB"},
    {u"\\x4\\x4g", "g", u"x4x4g", u"0:x4x4g"},
    {u"\\u004", "g", u"u004", u"0:u004"},
    {u"\\uD800", "g", u"a\xD800\xDC00", u"1:\xD800"},
    {u"\\cA\\cz", "g", u"\x01\x1A", u"0:\x01\x1A"},
    {u"\\c1", "g", u"c1", u"0:c1"},
    {u"[\\c1]", "g", u"c1\x11", u"0:c 1:1"},
    {u"\\Q\\z\\p\\k\\/", "g", u"Qzpk/", u"0:Qzpk/"},
    // Octal escapes: up to three digits, at most 0377.
    {u"\\0", "g", u"a\0"sv, u"1:\0"sv},
    {u"\\101\\377", "g", u"A\u00FF", u"0:A\u00FF"},
    {u"\\400", "g", u" 0", u"0: 0"},
    {u"\\0011", "g", u"\x01" u"1", u"0:\x01" u"1"},
    {u"\\08", "g", u"\0" u"8"sv, u"0:\0" u"8"sv},
    {u"[\\1\\8]", "g", u"\x01" u"8", u"0:\x01 1:8"},
    // Back-references: a group must be opened before the escape.
    {u"(a)\\1", "g", u"aaa", u"0:aa(a)"},
    {u"\\1(a)", "g", u"\x01" u"a", u"0:\x01" u"a(a)"},
    {u"(a)\\2", "g", u"a\x02", u"0:a\x02(a)"},
    {u"(a)(b)\\12", "g", u"aba2", u"0:aba2(a,b)"},
    {u"(a)\\18", "g", u"aa8", u"0:aa8(a)"},
    {u"(a)\\8\\9", "g", u"a89", u"0:a89(a)"},
    {u"(a\\1)", "g", u"a", u"0:a(a)"},
    {u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)\\10", "g", u"abcdefghijj",
     u"0:abcdefghijj(a,b,c,d,e,f,g,h,i,j)"},
    {u"(a)(b)(c)(d)(e)(f)(g)(h)(i)\\10", "g", u"abcdefghia0", u"0:abcdefghia0(a,b,c,d,e,f,g,h,i)"},
    // A back-reference to a group that has not matched matches the empty string.
    {u"(a)|\\1b", "g", u"b", u"0:b(\u2205)"},
    {u"(?:(a)|b)\\1c", "g", u"bc", u"0:bc(\u2205)"},
    // Classes.
    {u"[]a]", "g", u"]ab", u"0:] 1:a"},
    {u"[^]a]", "g", u"]ab", u"2:b"},
    {u"[a-]", "g", u"-ab", u"0:- 1:a"},
    {u"[-a]", "g", u"-ab", u"0:- 1:a"},
    {u"[\\d-z]", "g", u"5-zy", u"0:5 1:- 2:z"},
    {u"[a-\\s]", "g", u"a- b", u"0:a 1:- 2: "},
    {u"[a-c]+", "g", u"abcd", u"0:abc"},
    {u"[^a]", "g", u"a\n", u"1:\n"},
    {u"[\\W\\d]", "g", u"a-1", u"1:- 2:1"},
    {u"[\\u4E00-\\u9FFF]+", "g", u"ab\u4E2D\u6587c", u"2:\u4E2D\u6587"},
    // Quantifiers, greedy and lazy.
    {u"a+?", "g", u"aaa", u"0:a 1:a 2:a"},
    {u"a{2,3}", "g", u"aaaaa", u"0:aaa 3:aa"},
    {u"a{2,}?", "g", u"aaaaa", u"0:aa 2:aa"},
    {u"a{0}b", "g", u"ab", u"1:b"},
    {u"<.*>", "g", u"<a><b>", u"0:<a><b>"},
    {u"<.*?>", "g", u"<a><b>", u"0:<a> 3:<b>"},
    // Braces that are not a count are literal.
    {u"a{", "g", u"a{", u"0:a{"},
    {u"a{x}", "g", u"a{x}", u"0:a{x}"},
    {u"a{,5}", "g", u"a{,5}", u"0:a{,5}"},
    {u"x}]", "g", u"x}]", u"0:x}]"},
    // Groups: numbered by the opening parenthesis, lookaheads included.
    {u"((a)(b))", "g", u"ab", u"0:ab(ab,a,b)"},
    {u"(?=(a))(a)", "g", u"a", u"0:a(a,a)"},
    {u"(?:a|b)+", "g", u"abab", u"0:abab"},
    // Captures in a repeated group keep the last iteration that set them.
    {u"(?:(a)|b)+", "g", u"ab", u"0:ab(a)"},
    {u"(?:(a)|(b))+", "g", u"ab", u"0:ab(a,b)"},
    {u"(a|b)*", "g", u"ab", u"0:ab(b) 2:(\u2205)"},
    {u"(?:(a)\\1|b)+", "g", u"aab", u"0:aab(a)"},
    // Lookaheads, also quantified: a minimum of 0 never constrains.
    {u"a(?=b)", "g", u"ab ac", u"0:a"},
    {u"a(?!b)", "g", u"ab ac", u"3:a"},
    {u"(?=(a))*a", "g", u"a", u"0:a(\u2205)"},
    {u"(?=(a))+a", "g", u"a", u"0:a(a)"},
    {u"(?=x)*y", "g", u"y", u"0:y"},
    {u"(?!y)?y", "g", u"y", u"0:y"},
    {u"(?=a){2}b", "g", u"ab", u""},
    {u"(?=ab)+a", "g", u"ab", u"0:a"},
    {u"(?!x|^k)*.", "g", u"ab\nkc", u"0:a 1:b 3:k 4:c"},
    {u"(?:x|^k){0}.", "g", u"ab\nkc", u"0:a 1:b 3:k 4:c"},
    {u"(?:(a)|^b){0}(c)", "g", u"bc", u"1:c(\u2205,c)"},
    {u"(?=a)c?a", "g", u"xaA", u"1:a"},
    {u"(?=(a))(?:c|)a", "g", u"xaA", u"1:a(a)"},
    // A lookahead with optional content gets the correct answer.
    {u"(?=a?b)ab", "g", u"ab", u"0:ab"},
    // Global iteration: resume at the match end, one unit further after an empty match.
    {u"a*", "g", u"baaac", u"0: 1:aaa 4: 5:"},
    {u"", "g", u"ab", u"0: 1: 2:"},
    {u"x*", "g", u"\xD83D\xDE00", u"0: 1: 2:"},
    {u"a|", "g", u"ab", u"0:a 1: 2:"},
    {u"a*?", "g", u"aa", u"0: 1: 2:"},
    {u"a", "", u"aaa", u"0:a"},
    {u"a*", "", u"baaa", u"0:"},
    {u"b", "g", u"", u""},
    {u"", "", u"", u"0:"},
    // IgnoreCase: full-width Latin, Greek, Cyrillic and accented letters fold.
    {u"\u00E9\uFF41\u03B1\u0434", "gi", u"\u00C9\uFF21\u0391\u0414", u"0:\u00C9\uFF21\u0391\u0414"},
    {u"[\u00E0-\u00E9]+", "gi", u"\u00C0\u00C9\u00EA", u"0:\u00C0\u00C9"},
    {u"(a)\\1", "gi", u"aA", u"0:aA(a)"},
    // ...but a unit whose upper case is several characters, or ASCII while it is not, folds
    // only with itself; and so do the Kelvin, Ohm and Angstrom signs.
    {u"k", "gi", u"kK\u212A", u"0:k 1:K"},
    {u"\u212A", "gi", u"kK\u212A", u"2:\u212A"},
    {u"s", "gi", u"sS\u017F", u"0:s 1:S"},
    {u"\u017F", "gi", u"sS\u017F", u"2:\u017F"},
    {u"\u00DF", "gi", u"\u00DF\u1E9Ess", u"0:\u00DF"},
    {u"\u1E9E", "gi", u"\u00DF\u1E9E", u"1:\u1E9E"},
    {u"\u03C9", "gi", u"\u03C9\u03A9\u2126", u"0:\u03C9 1:\u03A9"},
    {u"\u2126", "gi", u"\u03C9\u03A9\u2126", u"2:\u2126"},
    {u"\u00E5", "gi", u"\u00E5\u00C5\u212B", u"0:\u00E5 1:\u00C5"},
    {u"\u03B8", "gi", u"\u03B8\u0398\u03D1\u03F4", u"0:\u03B8 1:\u0398 2:\u03D1"},
    {u"\u03F4", "gi", u"\u03B8\u03F4", u"1:\u03F4"},
    {u"\u1F80", "gi", u"\u1F80\u1F88", u"0:\u1F80"},
    {u"\u1FBC", "gi", u"\u1FB3\u1FBC", u"1:\u1FBC"},
    {u"\u03B9", "gi", u"\u0399\u0345\u1FBE", u"0:\u0399 1:\u0345 2:\u1FBE"},
    {u"[a-z]+", "gi", u"K\u212AS\u017Fx", u"0:K 2:S 4:x"},
    {u"[k]", "gi", u"K\u212A", u"0:K"},
    {u"[\u212A]", "gi", u"kK\u212A", u"2:\u212A"},
    {u"[^k]", "gi", u"kK\u212A", u"2:\u212A"},
    {u"[^a-z]", "gi", u"K\u212A\u017F1", u"1:\u212A 2:\u017F 3:1"},
    {u"[^\u03C9x]", "gi", u"\u03A9\u2126Xy", u"1:\u2126 3:y"},
    {u"[\\w]", "gi", u"\u212Ak", u"1:k"},
    {u"[\\W]", "gi", u"k\u212A", u"1:\u212A"},
    {u"(k)\\1", "gi", u"kK k\u212A", u"0:kK(k)"},
    {u"(\u03C9)\\1", "gi", u"\u03C9\u2126 \u03C9\u03A9", u"3:\u03C9\u03A9(\u03C9)"},
    {u"(s)\\1+", "gi", u"sSs\u017F", u"0:sSs(s)"},
    // Case-sensitive by default.
    {u"k", "g", u"kK", u"0:k"},
    {u"[a-z]", "g", u"A", u""},
    // The search the program runs.
    {u"(.*\u4E2D.*\\?)(.*)\\n", "gim", u"\u4E2D\u6587?\u7B54\r\nx?y\r\n\u6587\u4E2D?z\r\n",
     u"0:\u4E2D\u6587?\u7B54\r\n(\u4E2D\u6587?,\u7B54\r) 11:\u6587\u4E2D?z\r\n(\u6587\u4E2D?,z\r)"},
    // Rejected patterns.
    {u"a**", "g", u"a", u"rejected"},
    {u"[]", "g", u"a", u"rejected"},
    {u"(?<=a)b", "g", u"ab", u"rejected"},
};
// clang-format on

class Matching : public ::testing::TestWithParam<bool> {};

TEST_P(Matching, EveryConstructMatchesAsTheDialectSays) {
  const bool jit = GetParam();
  for (const MatchCase& c : kMatchCases) {
    const CompileOptions options{c.flags.find('i') != std::string_view::npos,
                                 c.flags.find('m') != std::string_view::npos, jit};
    const bool global = c.flags.find('g') != std::string_view::npos;
    SCOPED_TRACE("pattern /" + Utf8(c.pattern) + "/" + std::string(c.flags) + " over \"" +
                 Utf8(c.subject) + "\"");
    const CompileOutcome compiled = CompilePattern(c.pattern, options);
    std::u16string actual = u"rejected";
    if (compiled.pattern) {
      if (!jit) {
        EXPECT_FALSE(compiled.pattern->UsesJit());
      }
      MatchList matches;
      ASSERT_EQ(compiled.pattern->FindAll(c.subject, global, matches), MatchStatus::kOk);
      actual = Describe(c.subject, matches);
    }
    EXPECT_EQ(Utf8(actual), Utf8(c.expected));
  }
}

INSTANTIATE_TEST_SUITE_P(Engine, Matching, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& param) {
                           return param.param ? "Jit" : "Interpreter";
                         });

// The search pattern relies on the JIT and on PCRE2 trying matches only at line starts.
TEST(Matching, SearchPatternRunsJitAtLineStartsOnly) {
  for (bool ignoreCase : {false, true}) {
    const CompileOutcome compiled =
        CompilePattern(u"(.*\u4E2D\u6587.*\\?)(.*)\\n", {ignoreCase, true, true});
    ASSERT_TRUE(compiled.pattern);
    EXPECT_TRUE(compiled.pattern->UsesJit());
    EXPECT_TRUE(compiled.pattern->StartsAtLineStarts()) << Utf8(compiled.pattern->Emitted());
  }
}

}  // namespace
}  // namespace quivella::platform::regex
