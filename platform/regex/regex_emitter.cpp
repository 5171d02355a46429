// The PCRE2 emitter.
//
// One function per node kind writes the node's PCRE2 form and says whether that form is a
// single atom; a quantified node that is not one is wrapped in (?:...) first. The forms:
//   literal        \x{hhhh}, or the character itself for ASCII letters and digits
//   .              .   (not [^\n]: PCRE2 anchors a pattern that starts with .* at line
//                       starts, which is what makes the search pattern fast)
//   ^ $            ^ and \z; under Multiline (?<![^\n\r]) and (?![^\n\r])
//   \b \B          lookarounds over [0-9A-Z_a-z]
//   \d \w \s       explicit ASCII classes; under IgnoreCase these and \b \B sit in (?-i:...)
//   class          [\x{..}\x{..}-\x{..}] member by member
//   back-reference \g{n}
//   lookahead      (?=...|(?!)) (?!...); quantified with a minimum of 0 it never constrains the
//                  match and leaves its groups unset, and so does any atom repeated at most
//                  0 times: both become (?:(?!)...)?, which keeps the groups' numbers; with
//                  a minimum of 1 or more a lookahead is itself
// Under IgnoreCase the units of regex_case.h are spelled out case-sensitively with the
// members of their dialect case class, and PCRE2 folds the rest.
#include "platform/regex/regex_emitter.h"

#include <string_view>

#include "platform/regex/regex_case.h"

namespace quivella::platform::regex {
namespace {

constexpr std::u16string_view kWordClass = u"[0-9A-Z_a-z]";

class Emitter {
 public:
  explicit Emitter(const EmitOptions& options) : options_(options) {}

  std::u16string Run(const Node& root) {
    if (!options_.attemptCallout) {
      Emit(root);
      return std::move(out_);
    }
    AppendDecimal(u"(?C", kAttemptCallout, u")");
    // Every alternative must start behind the callout.
    const bool alternation = root.kind == NodeKind::kAlternation;
    out_ += alternation ? u"(?:" : u"";
    Emit(root);
    out_ += alternation ? u")" : u"";
    return std::move(out_);
  }

 private:
  // Appends a unit for use outside a class.
  void AppendUnit(char16_t unit) {
    if ((unit >= u'0' && unit <= u'9') || (unit >= u'A' && unit <= u'Z') ||
        (unit >= u'a' && unit <= u'z')) {
      out_.push_back(unit);
    } else {
      AppendHex(unit);
    }
  }

  // Appends \x{h} in lower-case hex.
  void AppendHex(char16_t unit) {
    static constexpr char16_t kDigits[] = u"0123456789abcdef";
    out_ += u"\\x{";
    bool started = false;
    for (int shift = 12; shift >= 0; shift -= 4) {
      const unsigned digit = (static_cast<unsigned>(unit) >> static_cast<unsigned>(shift)) & 0xFu;
      if (digit != 0 || started || shift == 0) {
        out_.push_back(kDigits[digit]);
        started = true;
      }
    }
    out_.push_back(u'}');
  }

  // Appends [...] or [^...] for set; an empty set gives a form that matches nothing (or,
  // negated, any unit), since PCRE2 has no empty class.
  void AppendClass(const CharSet& set, bool negated) {
    if (set.Empty()) {
      out_ += negated ? u"[\\x{0}-\\x{ffff}]" : u"(?!)";
      return;
    }
    out_ += negated ? u"[^" : u"[";
    for (const CharSet::Range& r : set.Ranges()) {
      AppendHex(r.first);
      if (r.second != r.first) {
        if (r.second != r.first + 1) {
          out_.push_back(u'-');
        }
        AppendHex(r.second);
      }
    }
    out_.push_back(u']');
  }

  // Returns the dialect case classes of the divergent units of set, and the other units in rest.
  static CharSet DialectClosure(const CharSet& set, CharSet& rest) {
    CharSet closure;
    rest = set;
    for (char16_t unit : DivergentUnits()) {
      if (set.Contains(unit)) {
        rest.Remove(unit);
        for (char16_t member : DialectCaseClass(unit)) {
          closure.Add(member);
        }
      }
    }
    return closure;
  }

  // Emits node and tells whether the output is a single atom for a PCRE2 quantifier.
  bool Emit(const Node& node) {
    switch (node.kind) {
      case NodeKind::kEmpty:
        return false;
      case NodeKind::kLiteral:
        return EmitLiteral(node.unit);
      case NodeKind::kAnyButNewline:
        out_.push_back(u'.');
        return true;
      case NodeKind::kSet:
        return EmitSet(node);
      case NodeKind::kLineStart:
        out_ += options_.multiline ? u"(?<![^\\n\\r])" : u"^";
        return false;
      case NodeKind::kLineEnd:
        out_ += options_.multiline ? u"(?![^\\n\\r])" : u"\\z";
        return false;
      case NodeKind::kWordBoundary:
      case NodeKind::kNotWordBoundary:
        EmitWordBoundary(node.kind == NodeKind::kWordBoundary);
        return true;
      case NodeKind::kBackReference:
        return EmitBackReference(node.group);
      case NodeKind::kCapture:
        out_.push_back(u'(');
        Emit(node.children.front());
        out_.push_back(u')');
        return true;
      case NodeKind::kGroup:
        out_ += u"(?:";
        Emit(node.children.front());
        out_.push_back(u')');
        return true;
      case NodeKind::kLookahead:
        out_ += node.negated ? u"(?!" : u"(?=";
        Emit(node.children.front());
        // PCRE2 10.42 takes a first unit from a leading positive lookahead as if it were
        // consumed: (?=a)c?a then finds nothing in "xa". A failing branch hides the unit.
        out_ += node.negated ? u")" : u"|(?!))";
        return true;
      case NodeKind::kRepeat:
        EmitRepeat(node);
        return true;
      case NodeKind::kConcat:
        for (const Node& child : node.children) {
          Emit(child);
        }
        return false;
      case NodeKind::kAlternation:
        for (std::size_t i = 0; i < node.children.size(); ++i) {
          if (i > 0) {
            out_.push_back(u'|');
          }
          Emit(node.children[i]);
        }
        return false;
    }
    return false;
  }

  bool EmitLiteral(char16_t unit) {
    if (options_.ignoreCase && FoldsDifferently(unit)) {
      CharSet set;
      for (char16_t member : DialectCaseClass(unit)) {
        set.Add(member);
      }
      out_ += u"(?-i:";
      if (set.Ranges().size() == 1 && set.Ranges().front().first == set.Ranges().front().second) {
        AppendHex(unit);
      } else {
        AppendClass(set, false);
      }
      out_.push_back(u')');
      return true;
    }
    AppendUnit(unit);
    return true;
  }

  bool EmitSet(const Node& node) {
    if (!options_.ignoreCase) {
      AppendClass(node.set, node.negated);
      return !node.set.Empty();
    }
    if (!node.foldCase) {
      out_ += u"(?-i:";
      AppendClass(node.set, node.negated);
      out_.push_back(u')');
      return true;
    }
    // PCRE2 folds the units it agrees on; the divergent ones are matched by their dialect
    // case class, case-sensitively.
    CharSet rest;
    const CharSet closure = DialectClosure(node.set, rest);
    if (closure.Empty()) {
      AppendClass(rest, node.negated);
      return !rest.Empty() || node.negated;
    }
    if (rest.Empty()) {
      out_ += u"(?-i:";
      AppendClass(closure, node.negated);
      out_.push_back(u')');
      return true;
    }
    if (!node.negated) {
      out_ += u"(?:";
      AppendClass(rest, false);
      out_ += u"|(?-i:";
      AppendClass(closure, false);
      out_ += u"))";
      return true;
    }
    // A unit matches [^set] when its dialect class is not in the closure and PCRE2's caseless
    // [^rest] takes it; [^rest] takes every divergent unit, since rest holds none.
    out_ += u"(?!(?-i:";
    AppendClass(closure, false);
    out_ += u"))";
    AppendClass(rest, true);
    return false;
  }

  void EmitWordBoundary(bool boundary) {
    out_ += options_.ignoreCase ? u"(?-i:" : u"(?:";
    out_ += u"(?<=";
    out_ += kWordClass;
    out_ += boundary ? u")(?!" : u")(?=";
    out_ += kWordClass;
    out_ += u")|(?<!";
    out_ += kWordClass;
    out_ += boundary ? u")(?=" : u")(?!";
    out_ += kWordClass;
    out_ += u"))";
  }

  bool EmitBackReference(int group) {
    AppendDecimal(u"\\g{", group, u"}");
    if (!options_.ignoreCase) {
      return true;
    }
    AppendDecimal(u"(?C", group, u")");
    return false;
  }

  void AppendDecimal(std::u16string_view before, int value, std::u16string_view after) {
    out_ += before;
    const std::string digits = std::to_string(value);
    out_.append(digits.begin(), digits.end());
    out_ += after;
  }

  void EmitRepeat(const Node& node) {
    const Node& child = node.children.front();
    const bool lookahead = child.kind == NodeKind::kLookahead;
    if (node.max == 0 || (lookahead && node.min == 0)) {
      // The atom never runs, but its groups must keep their numbers. Not "{0}": PCRE2 10.42
      // takes a pattern such as (?:x|^k){0}. for anchored and misses every later match.
      out_ += u"(?:(?!)";
      Emit(child);
      out_ += u")?";
      return;
    }
    if (lookahead) {
      Emit(child);  // repeating a lookahead adds nothing to it
      return;
    }
    const std::size_t start = out_.size();
    if (!Emit(child)) {
      out_.insert(start, u"(?:");
      out_.push_back(u')');
    }
    if (node.min == 0 && node.max == kUnbounded) {
      out_.push_back(u'*');
    } else if (node.min == 1 && node.max == kUnbounded) {
      out_.push_back(u'+');
    } else if (node.min == 0 && node.max == 1) {
      out_.push_back(u'?');
    } else if (node.max == kUnbounded) {
      AppendDecimal(u"{", node.min, u",}");
    } else if (node.min == node.max) {
      AppendDecimal(u"{", node.min, u"}");
    } else {
      AppendDecimal(u"{", node.min, u",");
      AppendDecimal(u"", node.max, u"}");
    }
    if (!node.greedy) {
      out_.push_back(u'?');
    }
  }

  const EmitOptions& options_;
  std::u16string out_;
};

}  // namespace

std::u16string EmitPcre2(const ParsedPattern& parsed, const EmitOptions& options) {
  return Emitter(options).Run(parsed.root);
}

}  // namespace quivella::platform::regex
