// Character sets of the syntax tree and the descriptions of parse errors.
#include "platform/regex/regex_syntax.h"

#include <algorithm>

namespace quivella::platform::regex {

void CharSet::AddRange(char16_t first, char16_t last) {
  // Find the first range that ends at or after first - 1 (it may touch the new one).
  auto it = std::lower_bound(ranges_.begin(), ranges_.end(), first, [](const Range& r, char16_t u) {
    return static_cast<int>(r.second) + 1 < static_cast<int>(u);
  });
  int lo = first;
  int hi = last;
  auto end = it;
  while (end != ranges_.end() && static_cast<int>(end->first) <= hi + 1) {
    lo = std::min(lo, static_cast<int>(end->first));
    hi = std::max(hi, static_cast<int>(end->second));
    ++end;
  }
  it = ranges_.erase(it, end);
  ranges_.insert(it, Range(static_cast<char16_t>(lo), static_cast<char16_t>(hi)));
}

void CharSet::AddSet(const CharSet& other) {
  for (const Range& r : other.ranges_) {
    AddRange(r.first, r.second);
  }
}

void CharSet::Remove(char16_t unit) {
  auto it = std::lower_bound(ranges_.begin(), ranges_.end(), unit,
                             [](const Range& r, char16_t u) { return r.second < u; });
  if (it == ranges_.end() || it->first > unit) {
    return;
  }
  const Range old = *it;
  it = ranges_.erase(it);
  if (unit < old.second) {
    it = ranges_.insert(it, Range(static_cast<char16_t>(unit + 1), old.second));
  }
  if (unit > old.first) {
    ranges_.insert(it, Range(old.first, static_cast<char16_t>(unit - 1)));
  }
}

CharSet CharSet::Complement() const {
  CharSet out;
  int next = 0;
  for (const Range& r : ranges_) {
    if (r.first > next) {
      out.ranges_.emplace_back(static_cast<char16_t>(next), static_cast<char16_t>(r.first - 1));
    }
    next = r.second + 1;
  }
  if (next <= 0xFFFF) {
    out.ranges_.emplace_back(static_cast<char16_t>(next), u'\xFFFF');
  }
  return out;
}

bool CharSet::Contains(char16_t unit) const {
  auto it = std::lower_bound(ranges_.begin(), ranges_.end(), unit,
                             [](const Range& r, char16_t u) { return r.second < u; });
  return it != ranges_.end() && it->first <= unit;
}

CharSet DigitSet() {
  CharSet set;
  set.AddRange(u'0', u'9');
  return set;
}

CharSet WordSet() {
  CharSet set;
  set.AddRange(u'0', u'9');
  set.AddRange(u'A', u'Z');
  set.Add(u'_');
  set.AddRange(u'a', u'z');
  return set;
}

CharSet SpaceSet() {
  CharSet set;
  set.AddRange(u'\t', u'\r');  // TAB LF VT FF CR
  set.Add(u' ');
  return set;
}

std::string_view Describe(ErrorCode code) {
  switch (code) {
    case ErrorCode::kNone:
      return "no error";
    case ErrorCode::kPatternTooLong:
      return "pattern too long";
    case ErrorCode::kNestingTooDeep:
      return "groups nested too deeply";
    case ErrorCode::kMissingParen:
      return "missing )";
    case ErrorCode::kUnmatchedParen:
      return "unmatched )";
    case ErrorCode::kInvalidGroup:
      return "invalid group";
    case ErrorCode::kUnterminatedClass:
      return "unterminated character class";
    case ErrorCode::kReversedRange:
      return "range out of order in character class";
    case ErrorCode::kNothingToRepeat:
      return "nothing to repeat";
    case ErrorCode::kRepeatOutOfOrder:
      return "repeat counts out of order";
    case ErrorCode::kRepeatTooLarge:
      return "repeat count too large";
    case ErrorCode::kTrailingBackslash:
      return "pattern ends with \\";
    case ErrorCode::kEngineRejected:
      return "pattern too large for the engine";
    case ErrorCode::kEmitterFault:
      return "internal error: the engine refused the translated pattern";
  }
  return "unknown error";
}

}  // namespace quivella::platform::regex
