// Checks the two bank files in resources/ against the figures they are delivered with.
//
// The files are product data written by tools/bankgen; this check reads the committed bytes,
// so a hand edit or a regeneration that drifts from the layout, the counts or the character
// rules fails here with the name of the figure that is off. Character rules are checked on
// the UTF-16 form of each line, which is what the regular-expression engine sees.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/cp936.h"
#include "platform/text.h"

namespace quivella {
namespace {

// Lines that hold at least one character of each kind, counted per kind.
struct SpecialFigures {
  std::size_t parenthesisLines;
  std::size_t plusLines;
  std::size_t fullStopLines;
  std::size_t bracketLines;
  std::size_t otherLines;       // { } * | ^ $ and backslash
  std::size_t inQuestionLines;  // lines with any of them in the question
  std::size_t inAnswerLines;    // lines with any of them in the answer
};

struct BankFigures {
  const char* name;
  const char* fileName;
  std::size_t bytes;
  std::size_t lines;
  std::size_t bannerFillBefore;  // the opening banner: fill, source tag, fill
  std::size_t bannerFillAfter;
  std::size_t sectionLine;  // 1-based line number of the section line
  std::size_t sectionFillBefore;
  std::size_t sectionFillAfter;
  std::size_t closingFill;  // fill characters of a closing banner line, 0 when there is none
  bool endsWithLineEnd;
  std::size_t section1Entries;
  std::size_t section2Entries;
  std::size_t distinctQuestions;
  std::size_t repeatedQuestions;  // questions that stand in more than one entry line
  std::size_t differingAnswers;   // of these, questions whose lines do not all agree
  std::size_t shortestEntry;      // bytes, without CR LF
  std::size_t longestEntry;
  std::size_t quoteLines;  // entry lines with an ASCII double quote
  SpecialFigures specials;
  std::size_t emptyQueryMatches;
  std::size_t emptyQueryRows;
  std::optional<std::size_t> emptyQueryLastRowMatch;
};

const BankFigures kBanks[] = {
    {.name = "sjqy", .fileName = "sjqy.txt", .bytes = 3373, .lines = 87,
     .bannerFillBefore = 16, .bannerFillAfter = 32,
     .sectionLine = 48, .sectionFillBefore = 27, .sectionFillAfter = 16,
     .closingFill = 56, .endsWithLineEnd = false,
     .section1Entries = 46, .section2Entries = 38,
     .distinctQuestions = 51, .repeatedQuestions = 31, .differingAnswers = 10,
     .shortestEntry = 21, .longestEntry = 56, .quoteLines = 0,
     .specials = {0, 0, 0, 0, 0, 0, 0},
     .emptyQueryMatches = 84, .emptyQueryRows = 51, .emptyQueryLastRowMatch = 71},
    {.name = "kjxs", .fileName = "kjxs.txt", .bytes = 14032, .lines = 351,
     .bannerFillBefore = 17, .bannerFillAfter = 37,
     .sectionLine = 231, .sectionFillBefore = 33, .sectionFillAfter = 21,
     .closingFill = 0, .endsWithLineEnd = true,
     .section1Entries = 229, .section2Entries = 120,
     .distinctQuestions = 325, .repeatedQuestions = 24, .differingAnswers = 2,
     .shortestEntry = 15, .longestEntry = 87, .quoteLines = 49,
     .specials = {5, 1, 1, 1, 0, 7, 1},
     .emptyQueryMatches = 349, .emptyQueryRows = 325, .emptyQueryLastRowMatch = std::nullopt},
};

constexpr std::size_t kSourceTagLength = 5;

struct Entry {
  std::size_t lineNumber;  // 1-based line of the file
  std::string_view question;  // up to, not including, the separator
  std::string_view answer;
};

// A bank file split into its lines. Only meaningful once the line-end rules hold.
struct Bank {
  std::string bytes;
  std::vector<std::string_view> lines;
  bool endsWithLineEnd = false;
  std::vector<Entry> entries;
};

std::string ReadBankFile(const char* fileName) {
  std::ifstream in(std::string(QUIVELLA_RESOURCES_DIR) + "/" + fileName, std::ios::binary);
  std::ostringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

// Splits at CR LF; a line is an entry line when it does not begin with the fill character.
Bank LoadBank(const char* fileName) {
  Bank bank;
  bank.bytes = ReadBankFile(fileName);
  const std::string_view all = bank.bytes;
  std::size_t start = 0;
  while (start < all.size()) {
    const std::size_t end = all.find("\r\n", start);
    if (end == std::string_view::npos) {
      bank.lines.push_back(all.substr(start));
      break;
    }
    bank.lines.push_back(all.substr(start, end - start));
    start = end + 2;
  }
  bank.endsWithLineEnd = all.ends_with("\r\n");
  for (std::size_t i = 0; i < bank.lines.size(); ++i) {
    const std::string_view line = bank.lines[i];
    if (line.empty() || line.front() == '@') {
      continue;
    }
    const std::size_t separator = line.find('?');
    const std::size_t cut = separator == std::string_view::npos ? line.size() : separator;
    bank.entries.push_back(
        {i + 1, line.substr(0, cut), line.substr(std::min(cut + 1, line.size()))});
  }
  return bank;
}

std::string Fill(std::size_t count) { return std::string(count, '@'); }

// Returns the source tag of an opening banner, or an empty string when it does not have the
// expected fill around a tag of five ASCII letters and digits.
std::string SourceTag(std::string_view banner, const BankFigures& figures) {
  if (banner.size() != figures.bannerFillBefore + kSourceTagLength + figures.bannerFillAfter ||
      !banner.starts_with(Fill(figures.bannerFillBefore)) ||
      !banner.ends_with(Fill(figures.bannerFillAfter))) {
    return {};
  }
  const std::string tag(banner.substr(figures.bannerFillBefore, kSourceTagLength));
  for (const char c : tag) {
    const bool alnum = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (!alnum) {
      return {};
    }
  }
  return tag;
}

// Names a bank in test names and messages instead of dumping its figures.
void PrintTo(const BankFigures& figures, std::ostream* out) { *out << figures.name; }

bool IsBlank(char16_t unit) { return unit == u' ' || unit == u'\u3000'; }

class BankFiguresTest : public ::testing::TestWithParam<BankFigures> {};

TEST_P(BankFiguresTest, LayoutAndLineEnds) {
  const BankFigures& f = GetParam();
  const Bank bank = LoadBank(f.fileName);
  ASSERT_FALSE(bank.bytes.empty()) << f.fileName << ": file missing or empty";
  EXPECT_EQ(bank.bytes.size(), f.bytes) << f.name << ": size in bytes";

  std::size_t bareCr = 0;
  std::size_t bareLf = 0;
  for (std::size_t i = 0; i < bank.bytes.size(); ++i) {
    if (bank.bytes[i] == '\r' && (i + 1 == bank.bytes.size() || bank.bytes[i + 1] != '\n')) {
      ++bareCr;
    }
    if (bank.bytes[i] == '\n' && (i == 0 || bank.bytes[i - 1] != '\r')) {
      ++bareLf;
    }
  }
  EXPECT_EQ(bareCr, 0u) << f.name << ": bare CR bytes";
  EXPECT_EQ(bareLf, 0u) << f.name << ": bare LF bytes";
  EXPECT_EQ(bank.endsWithLineEnd, f.endsWithLineEnd) << f.name << ": CR LF at the end of the file";
  ASSERT_EQ(bank.lines.size(), f.lines) << f.name << ": number of lines";
  for (std::size_t i = 0; i < bank.lines.size(); ++i) {
    EXPECT_FALSE(bank.lines[i].empty()) << f.name << ": line " << i + 1 << " is empty";
  }
  EXPECT_FALSE(bank.bytes.starts_with("\xEF\xBB\xBF")) << f.name << ": byte-order mark";

  EXPECT_FALSE(SourceTag(bank.lines.front(), f).empty())
      << f.name << ": opening banner is not " << f.bannerFillBefore << " fill, a five-character tag, "
      << f.bannerFillAfter << " fill: " << bank.lines.front();
  EXPECT_EQ(bank.lines[f.sectionLine - 1],
            Fill(f.sectionFillBefore) + f.fileName + Fill(f.sectionFillAfter))
      << f.name << ": section line " << f.sectionLine;
  if (f.closingFill > 0) {
    EXPECT_EQ(bank.lines.back(), Fill(f.closingFill)) << f.name << ": closing banner";
  }

  // Every line other than the three banner lines is an entry line.
  std::size_t section1 = 0;
  std::size_t section2 = 0;
  for (const Entry& entry : bank.entries) {
    ++(entry.lineNumber < f.sectionLine ? section1 : section2);
  }
  EXPECT_EQ(section1, f.section1Entries) << f.name << ": entry lines before the section line";
  EXPECT_EQ(section2, f.section2Entries) << f.name << ": entry lines after the section line";
  const std::size_t banners = f.closingFill > 0 ? 3 : 2;
  EXPECT_EQ(bank.entries.size() + banners, bank.lines.size())
      << f.name << ": lines that are neither entries nor the banner lines";
}

TEST(BankFiguresShared, BothBanksCarryTheSameSourceTag) {
  const std::string sjqy = SourceTag(LoadBank(kBanks[0].fileName).lines.at(0), kBanks[0]);
  const std::string kjxs = SourceTag(LoadBank(kBanks[1].fileName).lines.at(0), kBanks[1]);
  EXPECT_FALSE(sjqy.empty()) << "sjqy: source tag";
  EXPECT_EQ(sjqy, kjxs) << "source tags differ between the banks";
}

TEST_P(BankFiguresTest, EveryByteIsValidCodePage936AndNoFullWidthQuestionMark) {
  const BankFigures& f = GetParam();
  const Bank bank = LoadBank(f.fileName);
  ASSERT_EQ(bank.bytes.find('\0'), std::string::npos) << f.name << ": NUL byte";
  EXPECT_EQ(bank.bytes.find('\x1A'), std::string::npos) << f.name << ": byte 0x1A";
  const std::u16string units = StandardToUtf16(bank.bytes);
  EXPECT_EQ(units.find(u'\uFFFD'), std::u16string::npos) << f.name << ": bytes that are no GBK character";
  EXPECT_EQ(units.find(u'\uFF1F'), std::u16string::npos) << f.name << ": full-width question mark";
  EXPECT_EQ(StandardFromUtf16(units), bank.bytes) << f.name << ": GBK round trip changes bytes";
}

TEST_P(BankFiguresTest, EntryLineRules) {
  const BankFigures& f = GetParam();
  const Bank bank = LoadBank(f.fileName);
  ASSERT_EQ(bank.lines.size(), f.lines) << f.name << ": number of lines";

  // Banner lines carry no question mark, so no search ever matches them.
  for (const std::string_view line : bank.lines) {
    if (line.front() == '@') {
      EXPECT_EQ(line.find('?'), std::string_view::npos) << f.name << ": banner with '?': " << line;
    }
  }

  std::size_t shortest = SIZE_MAX;
  std::size_t longest = 0;
  for (const Entry& entry : bank.entries) {
    const std::string_view line = bank.lines[entry.lineNumber - 1];
    const std::string where = std::string(f.name) + " line " + std::to_string(entry.lineNumber);
    shortest = std::min(shortest, line.size());
    longest = std::max(longest, line.size());

    std::size_t marks = 0;
    for (const char c : line) {
      marks += c == '?' ? 1u : 0u;
    }
    EXPECT_EQ(marks, 1u) << where << ": ASCII question marks";
    EXPECT_FALSE(entry.question.empty()) << where << ": empty question";
    EXPECT_FALSE(entry.answer.empty()) << where << ": empty answer";

    for (const char16_t unit : StandardToUtf16(line)) {
      EXPECT_GE(unit, u' ') << where << ": control character";
    }
    for (const std::string_view part : {entry.question, entry.answer}) {
      const std::u16string text = StandardToUtf16(part);
      if (!text.empty()) {
        EXPECT_FALSE(IsBlank(text.front())) << where << ": leading blank in " << part;
        EXPECT_FALSE(IsBlank(text.back())) << where << ": trailing blank in " << part;
      }
    }
  }
  EXPECT_EQ(shortest, f.shortestEntry) << f.name << ": shortest entry line in bytes";
  EXPECT_EQ(longest, f.longestEntry) << f.name << ": longest entry line in bytes";
}

TEST_P(BankFiguresTest, RepeatedQuestions) {
  const BankFigures& f = GetParam();
  const Bank bank = LoadBank(f.fileName);
  std::map<std::string_view, std::set<std::string_view>> answers;
  std::map<std::string_view, std::size_t> lineCount;
  for (const Entry& entry : bank.entries) {
    answers[entry.question].insert(entry.answer);
    ++lineCount[entry.question];
  }
  std::size_t repeated = 0;
  std::size_t differing = 0;
  for (const auto& [question, count] : lineCount) {
    if (count > 1) {
      ++repeated;
      differing += answers[question].size() > 1 ? 1u : 0u;
    }
  }
  EXPECT_EQ(lineCount.size(), f.distinctQuestions) << f.name << ": distinct questions";
  EXPECT_EQ(repeated, f.repeatedQuestions) << f.name << ": questions on more than one line";
  EXPECT_EQ(differing, f.differingAnswers) << f.name << ": repeated questions with differing answers";

  // The second section repeats questions of the first.
  std::set<std::string_view> firstSection;
  std::size_t repeatsOfFirst = 0;
  for (const Entry& entry : bank.entries) {
    if (entry.lineNumber < f.sectionLine) {
      firstSection.insert(entry.question);
    } else {
      repeatsOfFirst += firstSection.contains(entry.question) ? 1u : 0u;
    }
  }
  EXPECT_GT(repeatsOfFirst, 0u) << f.name << ": second section repeats no question of the first";
}

TEST_P(BankFiguresTest, PunctuationAndRegexCharacters) {
  const BankFigures& f = GetParam();
  const Bank bank = LoadBank(f.fileName);
  const auto holds = [](const std::u16string& text, std::u16string_view set) {
    return text.find_first_of(set) != std::u16string::npos;
  };
  constexpr std::u16string_view kAllSpecial = u"()+.[]{}*|^$\\";

  SpecialFigures seen{};
  std::size_t quotes = 0;
  for (const Entry& entry : bank.entries) {
    const std::u16string question = StandardToUtf16(entry.question);
    const std::u16string answer = StandardToUtf16(entry.answer);
    const std::u16string line = question + u"?" + answer;
    quotes += holds(line, u"\"") ? 1u : 0u;
    seen.parenthesisLines += holds(line, u"()") ? 1u : 0u;
    seen.plusLines += holds(line, u"+") ? 1u : 0u;
    seen.fullStopLines += holds(line, u".") ? 1u : 0u;
    seen.bracketLines += holds(line, u"[]") ? 1u : 0u;
    seen.otherLines += holds(line, u"{}*|^$\\") ? 1u : 0u;
    seen.inQuestionLines += holds(question, kAllSpecial) ? 1u : 0u;
    seen.inAnswerLines += holds(answer, kAllSpecial) ? 1u : 0u;
  }
  EXPECT_EQ(quotes, f.quoteLines) << f.name << ": entry lines with an ASCII double quote";
  EXPECT_EQ(seen.parenthesisLines, f.specials.parenthesisLines) << f.name << ": lines with ( or )";
  EXPECT_EQ(seen.plusLines, f.specials.plusLines) << f.name << ": lines with +";
  EXPECT_EQ(seen.fullStopLines, f.specials.fullStopLines) << f.name << ": lines with a full stop";
  EXPECT_EQ(seen.bracketLines, f.specials.bracketLines) << f.name << ": lines with [ or ]";
  EXPECT_EQ(seen.otherLines, f.specials.otherLines) << f.name << ": lines with { } * | ^ $ or \\";
  EXPECT_EQ(seen.inQuestionLines, f.specials.inQuestionLines)
      << f.name << ": lines with regex characters in the question";
  EXPECT_EQ(seen.inAnswerLines, f.specials.inAnswerLines)
      << f.name << ": lines with regex characters in the answer";

  // Outside the entry lines only fill, tags and file names occur.
  for (const std::string_view line : bank.lines) {
    if (line.front() == '@') {
      const std::u16string units = StandardToUtf16(line);
      EXPECT_FALSE(holds(units, u"()+[]{}*|^$\\\"")) << f.name << ": banner punctuation: " << line;
    }
  }
}

// Replays the empty query: every line that holds a question mark and is followed by a line
// feed is a match, its question runs up to its last question mark, and it gives a row unless
// the question of a row listed earlier begins with it.
TEST_P(BankFiguresTest, EmptyQueryFigures) {
  const BankFigures& f = GetParam();
  const Bank bank = LoadBank(f.fileName);
  std::vector<std::string_view> rows;
  std::size_t matches = 0;
  std::size_t lastRowMatch = 0;
  for (std::size_t i = 0; i < bank.lines.size(); ++i) {
    const std::string_view line = bank.lines[i];
    const bool followedByLineFeed = i + 1 < bank.lines.size() || bank.endsWithLineEnd;
    const std::size_t lastMark = line.rfind('?');
    if (lastMark == std::string_view::npos || !followedByLineFeed) {
      continue;
    }
    ++matches;
    const std::string_view question = line.substr(0, lastMark + 1);
    bool listed = false;
    for (const std::string_view row : rows) {
      listed = listed || row.starts_with(question);
    }
    if (!listed) {
      rows.push_back(question);
      lastRowMatch = matches;
    }
  }
  EXPECT_EQ(matches, f.emptyQueryMatches) << f.name << ": empty query, matches";
  EXPECT_EQ(rows.size(), f.emptyQueryRows) << f.name << ": empty query, rows";
  if (f.emptyQueryLastRowMatch) {
    EXPECT_EQ(lastRowMatch, *f.emptyQueryLastRowMatch)
        << f.name << ": empty query, match number of the last row";
  }
}

INSTANTIATE_TEST_SUITE_P(Banks, BankFiguresTest, ::testing::ValuesIn(kBanks),
                         [](const ::testing::TestParamInfo<BankFigures>& param) {
                           return std::string(param.param.name);
                         });

}  // namespace
}  // namespace quivella
