// The regular-expression component: a typed object model with the classic component's
// members (IgnoreCase, Multiline, Global, Pattern, Execute, Replace; a match collection with
// Count and Item; matches with Value, FirstIndex, Length and SubMatches).
//
// It stands in for the platform's automation component. Nothing is thrown across this
// interface: a rejected pattern or an exceeded limit makes Execute give no collection and
// Replace give nothing. Member names keep the component's own spelling.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quivella::platform {

// Enters the component apartment for the calling thread (a per-thread counter).
void ApartmentInitialize();
// Leaves the component apartment once; does nothing when the thread is not in it.
void ApartmentUninitialize();
// How many times the calling thread is in the apartment; for tests.
int ApartmentDepth();

struct MatchData;  // the offsets of every match of one Execute, shared by its views

// The capturing groups of one match, counted from 0.
class SubMatchCollection {
 public:
  SubMatchCollection(std::shared_ptr<const MatchData> data, int match);
  // The number of capturing groups in the pattern.
  int Count() const;
  // The text group index took; empty for a group that took no part; nullopt out of range.
  // The view stays valid while any object of this Execute lives.
  std::optional<std::u16string_view> Item(int index) const;
  // Whether group index took part in the match; false out of range. (Item cannot tell a group
  // that took no part from one that matched the empty string.)
  bool IsSet(int index) const;

 private:
  std::shared_ptr<const MatchData> data_;
  int match_;
};

// One match of an Execute.
class Match {
 public:
  Match(std::shared_ptr<const MatchData> data, int match);
  std::u16string_view Value() const;
  int FirstIndex() const;  // 0-based, in UTF-16 units
  int Length() const;
  SubMatchCollection SubMatches() const;

 private:
  std::shared_ptr<const MatchData> data_;
  int match_;
};

// The matches of one Execute, counted from 0.
class MatchCollection {
 public:
  explicit MatchCollection(std::shared_ptr<const MatchData> data);
  int Count() const;
  // nullopt when index is out of range.
  std::optional<Match> Item(int index) const;
  // The text group (from 0) took in match (from 0), as Item(match)->SubMatches().Item(group)
  // gives it, without making the two views; nullopt when either is out of range.
  std::optional<std::u16string_view> GroupText(int match, int group) const;

 private:
  std::shared_ptr<const MatchData> data_;
};

class RegExp {
 public:
  RegExp();
  ~RegExp();
  RegExp(const RegExp&) = delete;
  RegExp& operator=(const RegExp&) = delete;

  bool IgnoreCase() const { return ignoreCase_; }
  void SetIgnoreCase(bool value) { ignoreCase_ = value; }
  bool Multiline() const { return multiline_; }
  void SetMultiline(bool value) { multiline_ = value; }
  bool Global() const { return global_; }
  void SetGlobal(bool value) { global_ = value; }
  const std::u16string& Pattern() const { return pattern_; }
  void SetPattern(std::u16string pattern) { pattern_ = std::move(pattern); }

  // Runs the pattern over the first length units of *subject (all of them by default),
  // keeping a reference to the subject. nullopt when the pattern is rejected or a limit
  // was hit.
  std::optional<MatchCollection> Execute(std::shared_ptr<const std::u16string> subject,
                                         std::size_t length = std::u16string::npos) const;
  std::optional<MatchCollection> Execute(std::u16string subject) const;

  // Replaces every match (Global) or the first with replacement, which may use $1..$99,
  // $&, $`, $' and $$. nullopt when the pattern is rejected or a limit was hit.
  std::optional<std::u16string> Replace(std::u16string_view subject,
                                        std::u16string_view replacement) const;

 private:
  bool ignoreCase_ = false;
  bool multiline_ = false;
  bool global_ = false;
  std::u16string pattern_;
};

}  // namespace quivella::platform
