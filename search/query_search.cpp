// The query search: the typed text is spliced unescaped into a pattern that runs over the whole
// bank text, and every match whose question is new becomes a row of the result list.
//
// The duplicate test asks whether a listed question begins with the new question. Reading the
// list back for every match costs the square of the rows; an ordered set of the listed questions
// answers the same question in logarithmic time: every question that begins with q sorts at or
// after q and before any question that does not, so the first listed question not less than q
// begins with q exactly when any listed question does.
#include "search/query_search.h"

#include <charconv>
#include <cstdint>
#include <iterator>
#include <memory_resource>
#include <set>
#include <string>
#include <string_view>
#include <utility>

namespace quivella {
namespace {

constexpr std::string_view kPatternHead = "(.*";
constexpr std::string_view kPatternTail = ".*\\?)(.*)\\n";
constexpr std::string_view kRowsSuffix = " \xCC\xF5";  // " 条"

// The listed questions, kept in step with the rows. A question is held as its place in the
// rows' byte buffer, so the index stays right when the buffer grows and moves, and with its
// first eight bytes inline, so most comparisons never touch the buffer.
class ListedQuestions {
 public:
  explicit ListedQuestions(const std::string& bytes) : listed_(Less{&bytes}, &pool_) {}

  // Tells whether a listed question begins with question, byte for byte.
  bool AnyBeginsWith(std::string_view question) const {
    const auto first = listed_.lower_bound(Probe{Head(question), question});
    return first != listed_.end() &&
           listed_.key_comp().View(*first).substr(0, question.size()) == question;
  }
  void Add(const std::string& bytes, std::size_t offset, std::size_t length) {
    listed_.insert(Key{Head(std::string_view(bytes).substr(offset, length)), offset, length});
  }

 private:
  struct Key {
    std::uint64_t head;
    std::size_t offset;
    std::size_t length;
  };
  struct Probe {
    std::uint64_t head;
    std::string_view text;
  };

  // The first eight bytes, big-endian and padded with zeros: comparing heads orders texts as
  // comparing their bytes does, as far as the heads differ (a question holds no NUL).
  static std::uint64_t Head(std::string_view text) {
    std::uint64_t head = 0;
    for (std::size_t i = 0; i < 8; ++i) {
      head = (head << 8) | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
    }
    return head;
  }

  struct Less {
    using is_transparent = void;
    const std::string* bytes;
    std::string_view View(const Key& key) const {
      return std::string_view(*bytes).substr(key.offset, key.length);
    }
    static std::string_view View(const Probe& probe) { return probe.text; }
    template <typename A, typename B>
    bool operator()(const A& a, const B& b) const {
      if (a.head != b.head) {
        return a.head < b.head;
      }
      return View(a) < View(b);
    }
  };

  std::pmr::monotonic_buffer_resource pool_;
  std::pmr::set<Key, Less> listed_;
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
  // Each row is written straight into the rows' buffer: number, question, then, once the
  // question has proved new, the answer.
  ResultRows rows = list.TakeSpareRows();
  std::string& bytes = rows.Buffer();
  ListedQuestions listed(bytes);
  char number[16];
  for (int i = 1; i <= count; ++i) {
    rows.BeginRow();
    const auto written = std::to_chars(std::begin(number), std::end(number), i);
    bytes.append(number, written.ptr);
    rows.EndCell();
    matcher.AppendSubMatchText(i, 1, bytes);
    rows.EndCell();
    const std::string_view question = rows.PendingCell(1);
    if (listed.AnyBeginsWith(question)) {
      rows.DropRow();
      continue;
    }
    listed.Add(bytes, static_cast<std::size_t>(question.data() - bytes.data()), question.size());
    matcher.AppendSubMatchText(i, 2, bytes);
    rows.EndCell();
    rows.CommitRow();
  }
  Text label = std::to_string(rows.Size());
  label.append(kRowsSuffix);
  // One reset for the whole list, so a view lays it out and repaints once.
  list.ReplaceAllRows(std::move(rows));
  return label;
}

}  // namespace quivella
