// The syntax tree of a dialect pattern, as the parser builds it and the emitter reads it.
//
// This file holds data only: the node kinds, the character sets of classes, the parse
// errors and the limits that guard the parser against hostile input. It knows nothing of
// PCRE2. Characters are UTF-16 code units throughout; the dialect never pairs surrogates.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace quivella::platform::regex {

// Limits on hostile input, checked by the parser.
// The longest pattern accepted, in UTF-16 units. A typed query is at most 32767 units and the
// search wraps it in a few more; twice that leaves room for any pattern a person writes.
inline constexpr std::size_t kMaxPatternLength = 65536;
// The deepest nesting of groups and lookaheads. The parser and the emitter recurse once per
// level, and each level becomes at most two PCRE2 groups plus three at the leaves, well
// inside the nesting limit the matcher gives PCRE2.
inline constexpr int kMaxNestingDepth = 200;
// The largest repeat count: PCRE2 stores counts in 16 bits.
inline constexpr int kMaxRepeatCount = 65535;
// Stands for "no upper bound" in a repeat.
inline constexpr int kUnbounded = -1;

// A set of UTF-16 units as sorted, disjoint, non-adjacent inclusive ranges.
class CharSet {
 public:
  using Range = std::pair<char16_t, char16_t>;

  // Adds the units first..last (first <= last).
  void AddRange(char16_t first, char16_t last);
  void Add(char16_t unit) { AddRange(unit, unit); }
  void AddSet(const CharSet& other);
  // Removes one unit.
  void Remove(char16_t unit);
  // Returns the units not in this set.
  CharSet Complement() const;
  bool Contains(char16_t unit) const;
  bool Empty() const { return ranges_.empty(); }
  const std::vector<Range>& Ranges() const { return ranges_; }
  bool operator==(const CharSet&) const = default;

 private:
  std::vector<Range> ranges_;
};

// The class escapes \d \w \s and their complements, as sets.
CharSet DigitSet();
CharSet WordSet();
CharSet SpaceSet();

enum class NodeKind : std::uint8_t {
  kEmpty,            // matches the empty string
  kLiteral,          // one code unit: unit
  kAnyButNewline,    // "." : any unit but U+000A
  kSet,              // a class or class escape: set, negated, foldCase
  kLineStart,        // ^
  kLineEnd,          // $
  kWordBoundary,     // \b
  kNotWordBoundary,  // \B
  kBackReference,    // \n: group
  kCapture,          // ( ... ): group, children[0]
  kGroup,            // (?: ... ): children[0]
  kLookahead,        // (?= ... ) or, when negated, (?! ... ): children[0]
  kRepeat,           // children[0] repeated: min, max (kUnbounded), greedy
  kConcat,           // children one after another
  kAlternation,      // children as alternatives, leftmost first
};

struct Node {
  NodeKind kind = NodeKind::kEmpty;
  char16_t unit = 0;
  bool negated = false;
  // For a set: whether IgnoreCase widens it. The class escapes \d \w \s and their
  // complements are closed under the dialect's case folding already, so they are not.
  bool foldCase = true;
  bool greedy = true;
  int group = 0;
  int min = 0;
  int max = 0;
  CharSet set;
  std::vector<Node> children;
};

// A parsed pattern: the tree, the number of capturing groups and whether any
// back-reference occurs.
struct ParsedPattern {
  Node root;
  int groupCount = 0;
  bool hasBackReference = false;
};

enum class ErrorCode : std::uint8_t {
  kNone,
  kPatternTooLong,      // longer than kMaxPatternLength
  kNestingTooDeep,      // groups nested deeper than kMaxNestingDepth
  kMissingParen,        // a group that is never closed
  kUnmatchedParen,      // a ")" with no group open
  kInvalidGroup,        // "(?" followed by anything but ":", "=" or "!"
  kUnterminatedClass,   // "[" with no closing "]" ("[]" and "[^]" included)
  kReversedRange,       // a class range whose end is below its start
  kNothingToRepeat,     // a quantifier with no atom before it, or after another one
  kRepeatOutOfOrder,    // {n,m} with n > m
  kRepeatTooLarge,      // a count above kMaxRepeatCount
  kTrailingBackslash,   // a pattern that ends in a single "\"
  kEngineRejected,      // the emitted pattern was beyond PCRE2's limits (size or nesting)
  kEmitterFault,        // PCRE2 refused the emitted pattern for another reason: a bug here
};

// Why a pattern was rejected and where: position counts UTF-16 units from 0.
struct ParseError {
  ErrorCode code = ErrorCode::kNone;
  std::size_t position = 0;
};

// Returns a short English description of code.
std::string_view Describe(ErrorCode code);

}  // namespace quivella::platform::regex
