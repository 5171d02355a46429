// libFuzzer target for the regex dialect compiler: parse, emit, compile with PCRE2, match
// with the JIT and with the interpreter, and replace.
//
// Input: one byte of flags (bit 0 IgnoreCase, 1 Multiline, 2 Global), then the pattern, a
// zero byte and the subject. Bytes below 0x80 are themselves; the others stand for units
// where the dialect is delicate (divergent case folding, surrogates, line separators, CJK).
// Beyond crashes and sanitizer reports it stops on:
//  - an error position outside the pattern, or a rejection that is not the parser's;
//  - an accepted pattern whose emitted form PCRE2 refuses for anything but its size limits;
//  - the JIT and the interpreter disagreeing on a search both finished.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/regex/regex_matcher.h"
#include "platform/regex/regex_parser.h"
#include "platform/regex/regexp_component.h"

namespace {

using quivella::platform::regex::CompileOptions;
using quivella::platform::regex::CompileOutcome;
using quivella::platform::regex::CompilePattern;
using quivella::platform::regex::ErrorCode;
using quivella::platform::regex::MatchList;
using quivella::platform::regex::MatchStatus;

constexpr char16_t kUnits[32] = {
    u'\u212A', u'\u017F', u'\u00DF', u'\u1E9E', u'\u2126', u'\u212B', u'\u03F4', u'\u1F80',
    u'\u1F88', u'\u1FB3', u'\u1FBC', u'\u03C9', u'\u03A9', u'\u00E5', u'\u00C5', u'\u03B8',
    u'\u03D1', u'\xD800', u'\xDC00', u'\xDBFF', u'\u2028', u'\u2029', u'\u00A0', u'\u3000',
    u'\u4E2D', u'\u6587', u'\uFFFF', u'\uFEFF', u'\u0130', u'\u0131', u'\u0345', u'\u00E9',
};

std::u16string Units(const std::uint8_t* data, std::size_t size) {
  std::u16string out;
  out.reserve(size);
  for (std::size_t i = 0; i < size; ++i) {
    out.push_back(data[i] < 0x80 ? static_cast<char16_t>(data[i]) : kUnits[data[i] & 0x1F]);
  }
  return out;
}

bool SameMatches(const MatchList& a, const MatchList& b) {
  if (a.Count() != b.Count() || a.GroupCount() != b.GroupCount()) {
    return false;
  }
  for (int i = 0; i < a.Count(); ++i) {
    for (int slot = 0; slot <= a.GroupCount(); ++slot) {
      if (a.Start(i, slot) != b.Start(i, slot) || a.End(i, slot) != b.End(i, slot)) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  const bool ignoreCase = (data[0] & 1) != 0;
  const bool multiline = (data[0] & 2) != 0;
  const bool global = (data[0] & 4) != 0;
  std::size_t split = 1;
  while (split < size && data[split] != 0) {
    ++split;
  }
  const std::u16string pattern = Units(data + 1, split - 1);
  const std::u16string subject =
      split < size ? Units(data + split + 1, size - split - 1) : std::u16string();

  const auto parsed = quivella::platform::regex::ParsePattern(pattern);
  if (!parsed.pattern && parsed.error.position > pattern.size()) {
    std::abort();
  }
  const CompileOutcome jit = CompilePattern(pattern, CompileOptions{ignoreCase, multiline, true});
  const CompileOutcome interpreted =
      CompilePattern(pattern, CompileOptions{ignoreCase, multiline, false});
  if (parsed.pattern.has_value() != (jit.pattern != nullptr) &&
      jit.error.code != ErrorCode::kEngineRejected) {
    std::abort();
  }
  if (!jit.pattern || !interpreted.pattern) {
    return 0;
  }
  // A short budget keeps the run moving; the match limit still bounds each attempt.
  constexpr auto kBudget = std::chrono::milliseconds(50);
  MatchList fromJit;
  MatchList fromInterpreter;
  const MatchStatus a = jit.pattern->FindAll(subject, global, fromJit, kBudget);
  const MatchStatus b = interpreted.pattern->FindAll(subject, global, fromInterpreter, kBudget);
  if (a == MatchStatus::kOk && b == MatchStatus::kOk && !SameMatches(fromJit, fromInterpreter)) {
    std::abort();
  }

  quivella::platform::RegExp regExp;
  regExp.SetIgnoreCase(ignoreCase);
  regExp.SetMultiline(multiline);
  regExp.SetGlobal(global);
  regExp.SetPattern(pattern);
  (void)regExp.Replace(subject, u"<$1|$&|$`|$'|$$|$99>");
  return 0;
}
