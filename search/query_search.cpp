// The query search: the typed text is spliced unescaped into a pattern that runs over the whole
// bank text, and every match whose question is new becomes a row of the result list.
//
// The duplicate test asks whether a listed question begins with the new question. Reading the
// list back for every match costs the square of the rows; an ordered set of the listed questions
// answers the same question in logarithmic time: every question that begins with q sorts at or
// after q and before any question that does not, so the first listed question not less than q
// begins with q exactly when any listed question does.
#include "search/query_search.h"

#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quivella {
namespace {

constexpr std::string_view kPatternHead = "(.*";
constexpr std::string_view kPatternTail = ".*\\?)(.*)\\n";
constexpr std::string_view kRowsSuffix = " \xCC\xF5";  // " 条"

// The listed questions, kept in step with the rows.
class ListedQuestions {
 public:
  // Tells whether a listed question begins with question, byte for byte.
  bool AnyBeginsWith(std::string_view question) const {
    const auto first = listed_.lower_bound(question);
    return first != listed_.end() && first->compare(0, question.size(), question) == 0;
  }
  void Add(std::string_view question) { listed_.emplace(question); }

 private:
  std::set<std::string, std::less<>> listed_;
};

}  // namespace

Text BuildSearchPattern(const Text& queryText) {
  Text pattern;
  pattern.reserve(kPatternHead.size() + queryText.size() + kPatternTail.size());
  pattern.append(kPatternHead).append(queryText).append(kPatternTail);
  return pattern;
}

std::optional<Text> RunQuerySearch(RegexObject& matcher, const Text& bankText,
                                   const Text& queryText, ResultListModel& list) {
  if (!matcher.Create(BuildSearchPattern(queryText), bankText)) {
    list.DeleteAllRows();
    return std::nullopt;
  }
  const int count = matcher.MatchCount();
  std::vector<ResultListModel::Row> rows;
  ListedQuestions listed;
  for (int i = 1; i <= count; ++i) {
    Text question = matcher.SubMatchText(i, 1);
    if (listed.AnyBeginsWith(question)) {
      continue;
    }
    listed.Add(question);
    rows.push_back({std::to_string(i), std::move(question), matcher.SubMatchText(i, 2)});
  }
  Text label = std::to_string(rows.size());
  label.append(kRowsSuffix);
  // One reset for the whole list, so a view lays it out and repaints once.
  list.ReplaceAllRows(std::move(rows));
  return label;
}

}  // namespace quivella
