// The dialect parser.
//
// Recursive descent over UTF-16 units, one function per level of the grammar:
//   alternation := sequence ("|" sequence)*
//   sequence    := (atom quantifier?)*
//   atom        := group | class | escape | "." | "^" | "$" | any other unit
//   quantifier  := ("*" | "+" | "?" | "{n}" | "{n,}" | "{n,m}") "?"?
// Each function consumes what it recognises and returns false once an error is recorded;
// the first error wins and parsing stops. Recursion happens only through groups, so the
// depth is bounded by kMaxNestingDepth.
//
// The dialect's readings where a character could mean two things:
//  - "{" that does not begin a well-formed count is a literal, and so are "}" and "]" outside
//    a class; a well-formed count with nothing before it is an error.
//  - "\1".."\99" is a back-reference when that many groups were opened before it; for two
//    digits that fail, the first digit alone is tried, then octal, then the digit itself.
//  - "\c" not followed by a letter, "\x" without two hex digits and "\u" without four are the
//    letters c, x and u.
//  - A "]" written first in a class is a member, so "[]" and "[^]" are never closed.
//  - A class escape at either end of a range makes the "-" a member.
#include "platform/regex/regex_parser.h"

#include <utility>

namespace quivella::platform::regex {
namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsOctalDigit(char16_t c) { return c >= u'0' && c <= u'7'; }
bool IsLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// Returns the value of a hex digit, or -1.
int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') {
    return c - u'0';
  }
  if (c >= u'a' && c <= u'f') {
    return c - u'a' + 10;
  }
  if (c >= u'A' && c <= u'F') {
    return c - u'A' + 10;
  }
  return -1;
}

struct Quantifier {
  int min = 0;
  int max = 0;
  std::size_t end = 0;  // the position after the quantifier, before any lazy "?"
  ErrorCode error = ErrorCode::kNone;
};

// One member of a class: a single unit or a class escape.
struct ClassAtom {
  bool isSet = false;
  char16_t unit = 0;
  CharSet set;
};

Node MakeSet(CharSet set, bool negated, bool foldCase) {
  Node node;
  node.kind = NodeKind::kSet;
  node.set = std::move(set);
  node.negated = negated;
  node.foldCase = foldCase;
  return node;
}

Node MakeLiteral(char16_t unit) {
  Node node;
  node.kind = NodeKind::kLiteral;
  node.unit = unit;
  return node;
}

class Parser {
 public:
  explicit Parser(std::u16string_view pattern) : pattern_(pattern) {}

  ParseOutcome Run() {
    ParseOutcome outcome;
    if (pattern_.size() > kMaxPatternLength) {
      Fail(ErrorCode::kPatternTooLong, kMaxPatternLength);
      outcome.error = error_;
      return outcome;
    }
    ParsedPattern parsed;
    if (ParseAlternation(parsed.root) && pos_ < pattern_.size()) {
      Fail(ErrorCode::kUnmatchedParen, pos_);  // only ")" stops a top-level alternation
    }
    if (error_.code != ErrorCode::kNone) {
      outcome.error = error_;
      return outcome;
    }
    parsed.groupCount = groupCount_;
    parsed.hasBackReference = hasBackReference_;
    outcome.pattern = std::move(parsed);
    return outcome;
  }

 private:
  bool AtEnd() const { return pos_ >= pattern_.size(); }
  bool At(std::size_t i, char16_t c) const { return i < pattern_.size() && pattern_[i] == c; }

  // Records the first error and returns false.
  bool Fail(ErrorCode code, std::size_t position) {
    if (error_.code == ErrorCode::kNone) {
      error_.code = code;
      error_.position = position;
    }
    return false;
  }

  // Parses alternatives separated by "|" up to the end or a ")".
  bool ParseAlternation(Node& out) {
    Node first;
    if (!ParseSequence(first)) {
      return false;
    }
    if (!At(pos_, u'|')) {
      out = std::move(first);
      return true;
    }
    out.kind = NodeKind::kAlternation;
    out.children.push_back(std::move(first));
    while (At(pos_, u'|')) {
      ++pos_;
      Node next;
      if (!ParseSequence(next)) {
        return false;
      }
      out.children.push_back(std::move(next));
    }
    return true;
  }

  // Parses atoms with their quantifiers up to the end, a "|" or a ")".
  bool ParseSequence(Node& out) {
    std::vector<Node> items;
    while (!AtEnd() && pattern_[pos_] != u'|' && pattern_[pos_] != u')') {
      Node atom;
      bool quantifiable = true;
      const char16_t c = pattern_[pos_];
      switch (c) {
        case u'(':
          if (!ParseGroup(atom)) {
            return false;
          }
          break;
        case u'[':
          if (!ParseClass(atom)) {
            return false;
          }
          break;
        case u'\\':
          if (!ParseEscape(atom)) {
            return false;
          }
          quantifiable = atom.kind != NodeKind::kWordBoundary &&
                         atom.kind != NodeKind::kNotWordBoundary;
          break;
        case u'.':
          atom.kind = NodeKind::kAnyButNewline;
          ++pos_;
          break;
        case u'^':
        case u'$':
          atom.kind = c == u'^' ? NodeKind::kLineStart : NodeKind::kLineEnd;
          quantifiable = false;
          ++pos_;
          break;
        case u'*':
        case u'+':
        case u'?':
          return Fail(ErrorCode::kNothingToRepeat, pos_);
        case u'{': {
          Quantifier q;
          if (ScanBraces(pos_, q)) {
            return Fail(ErrorCode::kNothingToRepeat, pos_);
          }
          atom = MakeLiteral(c);
          ++pos_;
          break;
        }
        default:
          atom = MakeLiteral(c);
          ++pos_;
          break;
      }
      if (!ParseQuantifier(atom, quantifiable)) {
        return false;
      }
      items.push_back(std::move(atom));
    }
    if (items.size() == 1) {
      out = std::move(items.front());
    } else if (!items.empty()) {
      out.kind = NodeKind::kConcat;
      out.children = std::move(items);
    }
    return true;
  }

  // Wraps atom in a repeat when a quantifier follows it.
  bool ParseQuantifier(Node& atom, bool quantifiable) {
    Quantifier q;
    const std::size_t start = pos_;
    if (!ScanQuantifier(start, q)) {
      return true;
    }
    if (!quantifiable) {
      return Fail(ErrorCode::kNothingToRepeat, start);
    }
    if (q.error != ErrorCode::kNone) {
      return Fail(q.error, start);
    }
    pos_ = q.end;
    bool greedy = true;
    if (At(pos_, u'?')) {
      greedy = false;
      ++pos_;
    }
    Quantifier another;
    if (ScanQuantifier(pos_, another)) {
      return Fail(ErrorCode::kNothingToRepeat, pos_);
    }
    Node repeat;
    repeat.kind = NodeKind::kRepeat;
    repeat.min = q.min;
    repeat.max = q.max;
    repeat.greedy = greedy;
    repeat.children.push_back(std::move(atom));
    atom = std::move(repeat);
    return true;
  }

  // Tells whether a quantifier starts at i, and reads it into q.
  bool ScanQuantifier(std::size_t i, Quantifier& q) const {
    if (i >= pattern_.size()) {
      return false;
    }
    switch (pattern_[i]) {
      case u'*':
        q = Quantifier{0, kUnbounded, i + 1, ErrorCode::kNone};
        return true;
      case u'+':
        q = Quantifier{1, kUnbounded, i + 1, ErrorCode::kNone};
        return true;
      case u'?':
        q = Quantifier{0, 1, i + 1, ErrorCode::kNone};
        return true;
      case u'{':
        return ScanBraces(i, q);
      default:
        return false;
    }
  }

  // Reads a run of decimal digits from i, saturating above kMaxRepeatCount.
  std::size_t ScanCount(std::size_t i, int& value) const {
    value = 0;
    while (i < pattern_.size() && IsDigit(pattern_[i])) {
      if (value <= kMaxRepeatCount) {
        value = value * 10 + (pattern_[i] - u'0');
      }
      ++i;
    }
    return i;
  }

  // Tells whether a well-formed {n}, {n,} or {n,m} starts at i, and reads it into q.
  bool ScanBraces(std::size_t i, Quantifier& q) const {
    std::size_t j = i + 1;
    if (j >= pattern_.size() || !IsDigit(pattern_[j])) {
      return false;
    }
    j = ScanCount(j, q.min);
    q.max = q.min;
    if (At(j, u',')) {
      ++j;
      if (j < pattern_.size() && IsDigit(pattern_[j])) {
        j = ScanCount(j, q.max);
      } else {
        q.max = kUnbounded;
      }
    }
    if (!At(j, u'}')) {
      return false;
    }
    q.end = j + 1;
    q.error = ErrorCode::kNone;
    if (q.min > kMaxRepeatCount || q.max > kMaxRepeatCount) {
      q.error = ErrorCode::kRepeatTooLarge;
    } else if (q.max != kUnbounded && q.min > q.max) {
      q.error = ErrorCode::kRepeatOutOfOrder;
    }
    return true;
  }

  // Parses a group or lookahead; pos_ is at its "(".
  bool ParseGroup(Node& out) {
    const std::size_t open = pos_;
    if (depth_ >= kMaxNestingDepth) {
      return Fail(ErrorCode::kNestingTooDeep, open);
    }
    ++pos_;
    if (At(pos_, u'?')) {
      const char16_t kind = pos_ + 1 < pattern_.size() ? pattern_[pos_ + 1] : u'\0';
      if (kind == u':') {
        out.kind = NodeKind::kGroup;
      } else if (kind == u'=' || kind == u'!') {
        out.kind = NodeKind::kLookahead;
        out.negated = kind == u'!';
      } else {
        return Fail(ErrorCode::kInvalidGroup, open);
      }
      pos_ += 2;
    } else {
      out.kind = NodeKind::kCapture;
      out.group = ++groupCount_;  // numbered by the opening parenthesis
    }
    ++depth_;
    Node body;
    if (!ParseAlternation(body)) {
      return false;
    }
    --depth_;
    if (!At(pos_, u')')) {
      return Fail(ErrorCode::kMissingParen, open);
    }
    ++pos_;
    out.children.push_back(std::move(body));
    return true;
  }

  // Reads an octal escape of up to three digits, at most 0377, whose first digit is at i.
  char16_t ScanOctal(std::size_t i) {
    int value = 0;
    std::size_t j = i;
    while (j < i + 3 && j < pattern_.size() && IsOctalDigit(pattern_[j]) &&
           value * 8 + (pattern_[j] - u'0') <= 0377) {
      value = value * 8 + (pattern_[j] - u'0');
      ++j;
    }
    pos_ = j;
    return static_cast<char16_t>(value);
  }

  // Reads the unit of \xhh (digits = 2) or \uhhhh (digits = 4) whose digits start at i;
  // false when they are not all hex.
  bool ScanHex(std::size_t i, int digits, char16_t& unit) const {
    if (i + static_cast<std::size_t>(digits) > pattern_.size()) {
      return false;
    }
    int value = 0;
    for (int k = 0; k < digits; ++k) {
      const int h = HexValue(pattern_[i + static_cast<std::size_t>(k)]);
      if (h < 0) {
        return false;
      }
      value = value * 16 + h;
    }
    unit = static_cast<char16_t>(value);
    return true;
  }

  // Reads the escapes that mean the same inside and outside a class: \f \n \r \t \v \xhh
  // \uhhhh \cX and identity escapes. pos_ is after the escaped character c.
  char16_t CharacterEscape(char16_t c) {
    char16_t unit = c;
    switch (c) {
      case u'f':
        return u'\f';
      case u'n':
        return u'\n';
      case u'r':
        return u'\r';
      case u't':
        return u'\t';
      case u'v':
        return u'\v';
      case u'x':
      case u'u': {
        const int digits = c == u'x' ? 2 : 4;
        if (ScanHex(pos_, digits, unit)) {
          pos_ += static_cast<std::size_t>(digits);
          return unit;
        }
        return c;
      }
      case u'c':
        if (pos_ < pattern_.size() && IsLetter(pattern_[pos_])) {
          return static_cast<char16_t>(pattern_[pos_++] % 32);
        }
        return c;
      default:
        return c;
    }
  }

  // Reads the class escape c (one of d D w W s S) into set and negated; false for others.
  static bool ClassEscape(char16_t c, CharSet& set, bool& negated) {
    switch (c) {
      case u'd':
      case u'D':
        set = DigitSet();
        break;
      case u'w':
      case u'W':
        set = WordSet();
        break;
      case u's':
      case u'S':
        set = SpaceSet();
        break;
      default:
        return false;
    }
    negated = c == u'D' || c == u'W' || c == u'S';
    return true;
  }

  // Parses an escape outside a class; pos_ is at its "\".
  bool ParseEscape(Node& out) {
    const std::size_t at = pos_;
    if (at + 1 >= pattern_.size()) {
      return Fail(ErrorCode::kTrailingBackslash, at);
    }
    const char16_t c = pattern_[at + 1];
    pos_ = at + 2;
    CharSet set;
    bool negated = false;
    if (ClassEscape(c, set, negated)) {
      out = MakeSet(std::move(set), negated, /*foldCase=*/false);
      return true;
    }
    if (c == u'b' || c == u'B') {
      out.kind = c == u'b' ? NodeKind::kWordBoundary : NodeKind::kNotWordBoundary;
      return true;
    }
    if (c == u'0') {
      out = MakeLiteral(ScanOctal(at + 1));
      return true;
    }
    if (IsDigit(c)) {
      ParseNumberedEscape(at, out);
      return true;
    }
    out = MakeLiteral(CharacterEscape(c));
    return true;
  }

  // Parses \1..\99 at at: a back-reference, an octal escape or a digit.
  void ParseNumberedEscape(std::size_t at, Node& out) {
    const int first = pattern_[at + 1] - u'0';
    if (at + 2 < pattern_.size() && IsDigit(pattern_[at + 2])) {
      const int both = first * 10 + (pattern_[at + 2] - u'0');
      if (both <= groupCount_) {
        hasBackReference_ = true;
        out.kind = NodeKind::kBackReference;
        out.group = both;
        pos_ = at + 3;
        return;
      }
    }
    if (first <= groupCount_) {
      hasBackReference_ = true;
      out.kind = NodeKind::kBackReference;
      out.group = first;
      pos_ = at + 2;
      return;
    }
    if (first <= 7) {
      out = MakeLiteral(ScanOctal(at + 1));
      return;
    }
    out = MakeLiteral(pattern_[at + 1]);  // \8 and \9 are the digits themselves
    pos_ = at + 2;
  }

  // Parses a class; pos_ is at its "[".
  bool ParseClass(Node& out) {
    const std::size_t open = pos_;
    ++pos_;
    bool negated = false;
    if (At(pos_, u'^')) {
      negated = true;
      ++pos_;
    }
    CharSet set;
    bool first = true;
    for (;;) {
      if (AtEnd()) {
        return Fail(ErrorCode::kUnterminatedClass, open);
      }
      if (pattern_[pos_] == u']' && !first) {
        ++pos_;
        break;
      }
      first = false;
      const std::size_t start = pos_;
      ClassAtom low;
      if (!ParseClassAtom(low, open)) {
        return false;
      }
      if (At(pos_, u'-') && pos_ + 1 < pattern_.size() && pattern_[pos_ + 1] != u']') {
        ++pos_;
        ClassAtom high;
        if (!ParseClassAtom(high, open)) {
          return false;
        }
        if (low.isSet || high.isSet) {
          AddAtom(set, low);
          set.Add(u'-');
          AddAtom(set, high);
        } else if (low.unit > high.unit) {
          return Fail(ErrorCode::kReversedRange, start);
        } else {
          set.AddRange(low.unit, high.unit);
        }
      } else {
        AddAtom(set, low);
      }
    }
    out = MakeSet(std::move(set), negated, /*foldCase=*/true);
    return true;
  }

  static void AddAtom(CharSet& set, const ClassAtom& atom) {
    if (atom.isSet) {
      set.AddSet(atom.set);
    } else {
      set.Add(atom.unit);
    }
  }

  // Parses one member of a class at pos_; open is the class's "[" for errors.
  bool ParseClassAtom(ClassAtom& out, std::size_t open) {
    const char16_t c = pattern_[pos_];
    if (c != u'\\') {
      out.unit = c;
      ++pos_;
      return true;
    }
    if (pos_ + 1 >= pattern_.size()) {
      return Fail(ErrorCode::kUnterminatedClass, open);
    }
    const char16_t e = pattern_[pos_ + 1];
    pos_ += 2;
    bool negated = false;
    if (ClassEscape(e, out.set, negated)) {
      if (negated) {
        out.set = out.set.Complement();
      }
      out.isSet = true;
      return true;
    }
    if (e == u'b') {
      out.unit = u'\b';  // backspace inside a class
    } else if (IsOctalDigit(e)) {
      out.unit = ScanOctal(pos_ - 1);
    } else {
      out.unit = CharacterEscape(e);  // \8 and \9 are the digits themselves
    }
    return true;
  }

  std::u16string_view pattern_;
  std::size_t pos_ = 0;
  int groupCount_ = 0;
  bool hasBackReference_ = false;
  int depth_ = 0;
  ParseError error_;
};

}  // namespace

ParseOutcome ParsePattern(std::u16string_view pattern) { return Parser(pattern).Run(); }

}  // namespace quivella::platform::regex
