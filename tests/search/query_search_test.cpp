// The query search: rows, match numbers, duplicates, the count label and invalid patterns, over a
// small fixture bank and over the delivered banks.
#include "search/query_search.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <vector>

#include "platform/cp936.h"
#include "tests/support/scratch.h"

namespace quivella {
namespace {

const Text kRows = " \xCC\xF5";  // " 条"

// Entry lines end with CR LF; a banner, a line without a question mark and a last line without a
// line end never match.
const Text kFixtureBank =
    "@@@@@@TAG@@@@@@\r\n"
    "What is Alpha?first\r\n"                  // match 1
    "what is alpha?lower-case variant\r\n"     // match 2: letter case differs, listed too
    "Capital of France?Paris\r\n"              // match 3
    "Capital of France?PARIS again\r\n"        // match 4: same question, skipped
    "Who wrote \xD6\xD0\xCE\xC4?someone\r\n"   // match 5: 中文
    "Only in the answer?xyzzy\r\n"             // match 6
    "no question mark here\r\n"
    "Last line?without a line end";

struct Row {
  Text number;
  Text question;
  Text answer;
  bool operator==(const Row&) const = default;
};

std::vector<Row> RowsOf(const ResultListModel& list) {
  std::vector<Row> rows;
  for (int r = 0; r < list.RowCount(); ++r) {
    rows.push_back({list.CellText(r, 0), list.CellText(r, 1), list.CellText(r, 2)});
  }
  return rows;
}

std::string Describe(const std::vector<Row>& rows) {
  std::ostringstream out;
  for (const Row& row : rows) {
    out << row.number << "|" << row.question << "|" << row.answer << "\n";
  }
  return out.str();
}

// The search as the list alone would do it: every match reads the listed questions back through
// FindRow and appends its row cell by cell.
std::optional<Text> LiteralSearch(RegexObject& matcher, const Text& bank, const Text& query,
                                  ResultListModel& list) {
  list.DeleteAllRows();
  if (!matcher.Create(BuildSearchPattern(query), bank)) {
    return std::nullopt;
  }
  const int count = matcher.MatchCount();
  int r = 0;
  for (int i = 1; i <= count; ++i) {
    const Text q = matcher.SubMatchText(i, 1);
    const Text a = matcher.SubMatchText(i, 2);
    if (list.FindRow(q, 0, false, 1) >= 0) {
      continue;
    }
    list.AppendRow();
    list.SetCellText(r, 0, std::to_string(i));
    list.SetCellText(r, 1, q);
    list.SetCellText(r, 2, a);
    ++r;
  }
  return std::to_string(list.RowCount()) + kRows;
}

Text ReadBank(const char* name) {
  return testing::FileBytes(std::string(QUIVELLA_RESOURCES_DIR) + "/" + name).value_or("");
}

TEST(QuerySearch, FixtureTable) {
  struct Case {
    const char* name;
    Text query;
    std::vector<Text> numbers;  // the match numbers of the rows, in order
  };
  const Case cases[] = {
      {"empty query lists every question once", "", {"1", "2", "3", "5", "6"}},
      {"letter case is ignored, both variants listed", "ALPHA", {"1", "2"}},
      {"text only in the answer gives no row", "xyzzy", {}},
      {"full stop is any character", "Fr.nce", {"1"}},
      {"question mark is a quantifier", "Francee?", {"1"}},
      {"a repeated question keeps its first line", "Capital", {"1"}},
      {"two-byte characters", "\xD6\xD0\xCE\xC4", {"1"}},
      {"alternation inside the question", "Alpha|wrote", {"1", "2", "3"}},
      {"no match", "nothing like this", {}},
  };
  RegexObject matcher;
  ResultListModel list;
  for (const Case& c : cases) {
    const std::optional<Text> label = RunQuerySearch(matcher, kFixtureBank, c.query, list);
    ASSERT_TRUE(label.has_value()) << c.name;
    EXPECT_EQ(*label, std::to_string(c.numbers.size()) + kRows) << c.name;
    std::vector<Text> numbers;
    for (const Row& row : RowsOf(list)) {
      numbers.push_back(row.number);
    }
    EXPECT_EQ(numbers, c.numbers) << c.name << "\n" << Describe(RowsOf(list));
  }
}

TEST(QuerySearch, RowsHoldQuestionAndAnswerWithItsCarriageReturn) {
  RegexObject matcher;
  ResultListModel list;
  ASSERT_TRUE(RunQuerySearch(matcher, kFixtureBank, "Capital", list));
  EXPECT_EQ(RowsOf(list), (std::vector<Row>{{"1", "Capital of France?", "Paris\r"}}));
}

TEST(QuerySearch, InvalidPatternsLeaveTheListEmpty) {
  RegexObject matcher;
  ResultListModel list;
  for (const Text query : {"(", "[a", "*", "+", "a)", "a{2,1}"}) {
    ASSERT_TRUE(RunQuerySearch(matcher, kFixtureBank, "", list));
    ASSERT_GT(list.RowCount(), 0);
    EXPECT_FALSE(RunQuerySearch(matcher, kFixtureBank, query, list)) << query;
    EXPECT_EQ(list.RowCount(), 0) << query;
  }
}

TEST(QuerySearch, EmptyBankFindsNothing) {
  RegexObject matcher;
  ResultListModel list;
  EXPECT_EQ(RunQuerySearch(matcher, "", "abc", list), "0" + kRows);
  EXPECT_EQ(RunQuerySearch(matcher, "", "", list), "0" + kRows);
}

TEST(QuerySearch, CharacterOutsideTheCodePageMatchesNothing) {
  RegexObject matcher;
  ResultListModel list;
  // Were it turned into "?", it would act as a quantifier and list every line.
  const Text emoji = QueryTextFromUtf16(u"\U0001F600");
  EXPECT_EQ(RunQuerySearch(matcher, kFixtureBank, emoji, list), "0" + kRows);
  const Text either = QueryTextFromUtf16(u"wrote|\U0001F600");
  EXPECT_EQ(RunQuerySearch(matcher, kFixtureBank, either, list), "1" + kRows);
  // The alternation splits group 1: its first branch ends right after "wrote".
  EXPECT_EQ(list.CellText(0, 1), "Who wrote");
}

TEST(QuerySearch, DeliveredBanksWithTheEmptyQuery) {
  struct Case {
    const char* name;
    int matches;
    int rows;
  };
  for (const Case& c : {Case{"sjqy.txt", 84, 51}, Case{"kjxs.txt", 349, 325}}) {
    const Text bank = ReadBank(c.name);
    ASSERT_FALSE(bank.empty()) << c.name;
    RegexObject matcher;
    ResultListModel list;
    EXPECT_EQ(RunQuerySearch(matcher, bank, "", list), std::to_string(c.rows) + kRows) << c.name;
    EXPECT_EQ(matcher.MatchCount(), c.matches) << c.name;
    ASSERT_EQ(list.RowCount(), c.rows) << c.name;
    for (const Row& row : RowsOf(list)) {
      EXPECT_EQ(row.question.back(), '?') << c.name << ": " << row.question;
      EXPECT_EQ(row.answer.back(), '\r') << c.name << ": " << row.question;
    }
    if (std::string_view(c.name) == "sjqy.txt") {
      EXPECT_EQ(list.CellText(list.RowCount() - 1, 0), "71");
    }
  }
}

// The indexed duplicate test against the literal FindRow loop, over random queries on both banks.
TEST(QuerySearch, IndexedDuplicateTestAgreesWithFindRow) {
  std::mt19937 rng(20150418);
  const std::vector<Text> fragments = {"", ".", "..", "a|b", "[0-9]", "\\d", "\\s", "1|2|3",
                                       "(.)\\1", "[^a-z]", "\xB5\xC4", "\xD6\xD0|\xB9\xFA"};
  for (const char* name : {"sjqy.txt", "kjxs.txt"}) {
    const Text bank = ReadBank(name);
    ASSERT_FALSE(bank.empty()) << name;
    const std::u16string units = StandardToUtf16(bank);
    std::vector<Text> queries = fragments;
    for (int i = 0; i < 60; ++i) {
      // A run of one to three characters taken from a random place of the bank.
      const std::size_t at = std::uniform_int_distribution<std::size_t>(0, units.size() - 4)(rng);
      const std::size_t len = std::uniform_int_distribution<std::size_t>(1, 3)(rng);
      queries.push_back(QueryTextFromUtf16(units.substr(at, len)));
    }
    RegexObject matcher;
    ResultListModel indexed;
    ResultListModel literal;
    for (const Text& query : queries) {
      const std::optional<Text> a = RunQuerySearch(matcher, bank, query, indexed);
      const std::optional<Text> b = LiteralSearch(matcher, bank, query, literal);
      ASSERT_EQ(a, b) << name << " query=" << query;
      ASSERT_EQ(RowsOf(indexed), RowsOf(literal)) << name << " query=" << query;
    }
  }
}

}  // namespace
}  // namespace quivella
