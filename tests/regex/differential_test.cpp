// A differential run against JavaScript's engine in node: a seeded generator writes small
// patterns and subjects in the part of the dialect where the two must agree, and every case
// must give the same output from `quivella-probe regex` and from node_reference.js.
//
// Where the dialect and JavaScript differ, the generator never goes, by these rules:
//  - subjects hold no CR, U+2028 or U+2029 (line ends to JavaScript's "." and ^ $) and no
//    non-ASCII white space (JavaScript's \s is wider);
//  - patterns hold no "[]" or "[^]", no "(?<", no \c before a non-letter and no \k;
//  - no capturing group sits inside a repeat that can run more than once (JavaScript resets
//    captures at every iteration, the dialect keeps them);
//  - no repeated atom other than a lookahead can match the empty string (JavaScript refuses
//    an empty iteration and backtracks, PCRE2 ends the loop with it);
//  - back-references name a group opened before them, at most \9, and sit in (?:...) so no
//    digit follows; octal escapes start with \0;
//  - a case where our side stops at a limit (the match limit counts backtracking that
//    JavaScript simply pays for in time) is not compared.
// Set QUIVELLA_REGEX_SEED to run another seed; a difference prints the seed and the case.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/regex/regex_matcher.h"
#include "tools/probe/json_string.h"

namespace quivella::platform::regex {
namespace {

constexpr int kCases = 400;
constexpr std::uint32_t kDefaultSeed = 20240611;

class Generator {
 public:
  explicit Generator(std::uint32_t seed) : rng_(seed) {}

  // Returns a number in [0, n).
  int Below(int n) { return static_cast<int>(rng_() % static_cast<std::uint32_t>(n)); }
  bool Chance(int percent) { return Below(100) < percent; }
  template <typename T, std::size_t N>
  const T& PickFrom(const T (&items)[N]) {
    return items[Below(static_cast<int>(N))];
  }

  std::u16string Subject() {
    static constexpr char16_t kUnits[] = {
        u'a', u'a', u'a', u'b', u'b', u'c', u'A', u'B', u'k', u'K', u's', u'S', u'0', u'1',
        u'_', u' ', u'-', u'\n', u'\n', u'\t', u'?', u'\u00E9', u'\u00C9', u'\u00DF', u'\u1E9E',
        u'\u212A', u'\u017F', u'\u03C9', u'\u03A9', u'\u2126', u'\u03B8', u'\u03D1', u'\u03F4',
        u'\u1F80', u'\u1F88', u'\u4E2D', u'\u6587', u'\xD83D', u'\xDE00', u'\u00E5', u'\u212B',
    };
    std::u16string out;
    const int length = Below(17);
    for (int i = 0; i < length; ++i) {
      out.push_back(PickFrom(kUnits));
    }
    return out;
  }

  std::u16string Pattern() {
    groups_ = 0;
    std::u16string pattern = Alternation(0, false).text;
    if (Chance(6)) {
      // Each fault is one in front of any pattern.
      static constexpr std::u16string_view kFaults[] = {
          u")", u"(", u"a**", u"[b-a]", u"x{3,2}", u"(?x)", u"{2}", u"^*", u"\\b?", u"|+",
      };
      pattern = std::u16string(PickFrom(kFaults)) + pattern;
    } else if (Chance(1)) {
      pattern += u"\\";
    }
    return pattern;
  }

 private:
  struct Piece {
    std::u16string text;
    bool nullable = false;     // can match the empty string
    bool quantifiable = true;  // the dialect allows a quantifier after it
    bool lookahead = false;
  };

  Piece Alternation(int depth, bool inRepeat) {
    Piece out = Sequence(depth, inRepeat);
    const int more = Chance(25) ? 1 + Below(2) : 0;
    for (int i = 0; i < more; ++i) {
      const Piece next = Sequence(depth, inRepeat);
      out.text += u"|" + next.text;
      out.nullable = out.nullable || next.nullable;
    }
    return out;
  }

  Piece Sequence(int depth, bool inRepeat) {
    Piece out;
    out.nullable = true;
    const int terms = Below(3) + (depth == 0 ? 1 : 0);
    for (int i = 0; i < terms; ++i) {
      const Piece term = Term(depth, inRepeat);
      out.text += term.text;
      out.nullable = out.nullable && term.nullable;
    }
    return out;
  }

  Piece Term(int depth, bool inRepeat) {
    if (!Chance(30)) {
      return Atom(depth, inRepeat);
    }
    static constexpr std::u16string_view kQuantifiers[] = {
        u"*", u"+", u"?", u"{2}", u"{0,2}", u"{1,}", u"{1,3}", u"{0}", u"{2,}",
    };
    const std::u16string_view quantifier = PickFrom(kQuantifiers);
    const bool once = quantifier == u"?" || quantifier == u"{0}";
    Piece atom = Atom(depth, inRepeat || !once);
    if (!atom.quantifiable || (atom.nullable && !atom.lookahead)) {
      return atom;
    }
    const bool canBeEmpty = quantifier == u"*" || quantifier == u"?" ||
                            quantifier == u"{0,2}" || quantifier == u"{0}";
    atom.text += quantifier;
    if (Chance(30)) {
      atom.text += u"?";
    }
    atom.nullable = atom.nullable || canBeEmpty;
    atom.lookahead = false;
    return atom;
  }

  Piece Atom(int depth, bool inRepeat) {
    const int kind = Below(depth >= 3 ? 40 : 100);
    Piece out;
    if (kind < 18) {
      static constexpr std::u16string_view kLiterals[] = {
          u"a", u"a", u"a", u"b", u"b", u"A", u"k", u"K", u"s", u"S", u"0", u"1", u"_", u" ", u"-",
          u"\u00E9", u"\u00C9", u"\u00DF", u"\u1E9E", u"\u212A", u"\u017F", u"\u03C9",
          u"\u03A9", u"\u2126", u"\u03B8", u"\u03F4", u"\u1F80", u"\u4E2D", u"}", u"]", u"!",
      };
      out.text = PickFrom(kLiterals);
    } else if (kind < 24) {
      static constexpr std::u16string_view kEscapes[] = {
          u"\\.", u"\\*", u"\\?", u"\\(", u"\\)", u"\\[", u"\\]", u"\\{", u"\\}", u"\\|",
          u"\\\\", u"\\^", u"\\$", u"\\/", u"\\-", u"\\n", u"\\t", u"\\x41", u"\\x6b",
          u"\\u212a", u"\\u00e9", u"\\u03a9", u"(?:\\0)", u"\\012", u"\\cJ", u"\\ca", u"\\x4",
          u"\\u12", u"a{", u"a{,2}", u"\\Q", u"\\z", u"\\uD83D",
      };
      out.text = PickFrom(kEscapes);
    } else if (kind < 30) {
      out.text = u".";
    } else if (kind < 36) {
      static constexpr std::u16string_view kClassEscapes[] = {
          u"\\d", u"\\D", u"\\w", u"\\W", u"\\s", u"\\S",
      };
      out.text = PickFrom(kClassEscapes);
    } else if (kind < 40) {
      static constexpr std::u16string_view kAnchors[] = {u"^", u"$", u"\\b", u"\\B"};
      out.text = PickFrom(kAnchors);
      out.nullable = true;
      out.quantifiable = false;
    } else if (kind < 58) {
      out.text = Class();
    } else if (kind < 70 && !inRepeat && groups_ < 9) {
      ++groups_;
      const Piece body = Alternation(depth + 1, inRepeat);
      out.text = u"(" + body.text + u")";
      out.nullable = body.nullable;
    } else if (kind < 80) {
      const Piece body = Alternation(depth + 1, inRepeat);
      out.text = u"(?:" + body.text + u")";
      out.nullable = body.nullable;
    } else if (kind < 88) {
      const Piece body = Alternation(depth + 1, inRepeat);
      out.text = (Chance(50) ? u"(?=" : u"(?!") + body.text + u")";
      out.nullable = true;
      out.lookahead = true;
    } else if (kind < 94 && groups_ > 0) {
      out.text = u"(?:\\" + std::u16string(1, static_cast<char16_t>(u'1' + Below(groups_))) + u")";
      out.nullable = true;
    } else {
      out.text = u"a";
    }
    return out;
  }

  std::u16string Class() {
    static constexpr std::u16string_view kMembers[] = {
        u"a", u"b", u"c", u"k", u"s", u"A", u"K", u"S", u"0", u"9", u"_", u" ", u"\u00E9",
        u"\u00DF", u"\u212A", u"\u017F", u"\u03C9", u"\u03A9", u"\u03B8", u"\u4E2D", u"a-z",
        u"A-Z", u"0-9", u"a-k", u"K-k", u"\u00E0-\u00FF", u"\u0391-\u03C9", u"\\]", u"\\\\",
        u"\\-", u"\\^", u"\\b", u"\\n", u"\\t", u"\\x41", u"\\u03c9", u"\\d", u"\\w", u"\\s",
        u"\\D", u"\\W", u"\\S", u"\\d-z", u"z-a", u"\\1", u"\\8", u"?", u"*", u"(", u"$",
    };
    std::u16string out = Chance(30) ? u"[^" : u"[";
    if (Chance(10)) {
      out += u"-";
    }
    const int members = 1 + Below(3);
    for (int i = 0; i < members; ++i) {
      out += PickFrom(kMembers);
    }
    if (Chance(10)) {
      out += u"-";
    }
    return out + u"]";
  }

  std::mt19937 rng_;
  int groups_ = 0;
};

std::vector<std::string> ReadLines(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    lines.push_back(line);
  }
  return lines;
}

bool NodeAvailable() { return std::system("node --version > /dev/null 2>&1") == 0; }

TEST(Differential, AgreesWithJavaScriptOnTheSharedDialect) {
  if (!NodeAvailable()) {
    GTEST_SKIP() << "node is not installed";
  }
  std::uint32_t seed = kDefaultSeed;
  if (const char* text = std::getenv("QUIVELLA_REGEX_SEED")) {
    seed = static_cast<std::uint32_t>(std::strtoul(text, nullptr, 10));
  }
  const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) /
                                    ("quivella-regex-diff-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);

  Generator generator(seed);
  std::vector<std::string> cases;
  std::vector<std::u16string> patterns;
  {
    std::ofstream out(dir / "cases.jsonl");
    for (int i = 0; i < kCases; ++i) {
      std::string line = "{\"pattern\": ";
      patterns.push_back(generator.Pattern());
      probe::AppendJsonString(line, patterns.back());
      line += ", \"input\": ";
      probe::AppendJsonString(line, generator.Subject());
      line += ", \"ignoreCase\": ";
      line += generator.Chance(50) ? "true" : "false";
      line += ", \"multiline\": ";
      line += generator.Chance(30) ? "true" : "false";
      line += ", \"global\": ";
      line += generator.Chance(80) ? "true" : "false";
      line += "}";
      out << line << '\n';
      cases.push_back(line);
    }
  }
  const std::string casesPath = (dir / "cases.jsonl").string();
  ASSERT_EQ(std::system(("\"" QUIVELLA_PROBE "\" regex < \"" + casesPath + "\" > \"" +
                         (dir / "ours.jsonl").string() + "\"")
                            .c_str()),
            0);
  ASSERT_EQ(std::system(("node \"" QUIVELLA_NODE_REFERENCE "\" < \"" + casesPath + "\" > \"" +
                         (dir / "node.jsonl").string() + "\"")
                            .c_str()),
            0);
  const std::vector<std::string> ours = ReadLines(dir / "ours.jsonl");
  const std::vector<std::string> node = ReadLines(dir / "node.jsonl");
  if (std::getenv("QUIVELLA_REGEX_KEEP") == nullptr) {
    std::filesystem::remove_all(dir);
  }
  ASSERT_EQ(ours.size(), cases.size());
  ASSERT_EQ(node.size(), cases.size());

  int differences = 0;
  for (std::size_t i = 0; i < cases.size() && differences < 10; ++i) {
    const bool stoppedAtLimit =
        ours[i] == "{\"ok\": false}" && CompilePattern(patterns[i], {}).pattern != nullptr;
    if (ours[i] != node[i] && !stoppedAtLimit) {
      ++differences;
      ADD_FAILURE() << "seed " << seed << ", case " << i << ":\n  " << cases[i]
                    << "\n  ours: " << ours[i] << "\n  node: " << node[i];
    }
  }
}

}  // namespace
}  // namespace quivella::platform::regex
