// The matcher: a dialect pattern compiled by PCRE2, and the find-all loop over a subject.
//
// CompilePattern parses (regex_parser.h), emits (regex_emitter.h) and compiles the result
// with PCRE2's 16-bit library, JIT included. CompiledPattern::FindAll runs the dialect's
// global iteration. Every limit that keeps a hostile pattern from hanging or crashing the
// program is set here. Nothing throws; PCRE2's codes become a MatchStatus.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/regex/regex_syntax.h"

struct pcre2_real_code_16;

namespace quivella::platform::regex {

// The match limit: how much backtracking PCRE2 may do in one match attempt (it counts afresh
// at each start position). It stops a catastrophic pattern such as (a|a)*[bc] within a few
// tens of milliseconds.
inline constexpr std::uint32_t kMatchLimit = 10'000'000;
// The heap the interpreter may use for its backtracking frames, in KiB.
inline constexpr std::uint32_t kHeapLimitKiB = 512 * 1024;
// The JIT stack of each thread. The default 32 KiB fails at about ten thousand iterations of
// a simple loop; the memory is reserved, not touched, until a match needs it.
inline constexpr std::size_t kJitStackSize = std::size_t{64} << 20;
// How long one FindAll may search. Each attempt is bounded by the match limit, but a pattern
// that costs just under it at every position could otherwise take hours over a long subject.
// Checked at match attempts through the emitter's attempt callout.
inline constexpr std::chrono::milliseconds kFindAllBudget{1000};
// The longest subject, in UTF-16 units: offsets are kept as 32-bit integers.
inline constexpr std::size_t kMaxSubjectLength = 0x7FFFFFFE;
// The most offsets one FindAll records (256 MiB): many groups times many matches could
// otherwise exhaust memory. A search over the whole bank records about a million.
inline constexpr std::size_t kMaxMatchOffsets = std::size_t{1} << 26;

struct CompileOptions {
  bool ignoreCase = false;
  bool multiline = false;
  bool jit = true;  // false runs PCRE2's interpreter only; for tests
  bool operator==(const CompileOptions&) const = default;
};

enum class MatchStatus : std::uint8_t {
  kOk,
  kLimitExceeded,   // the match, heap or JIT stack limit, the time budget or kMaxMatchOffsets
  kSubjectTooLong,  // longer than kMaxSubjectLength
  kFailed,          // any other PCRE2 error
};

// The matches of one FindAll as flat offsets: for each match, the start and end of the whole
// match and then of each capturing group, -1 for a group that took no part.
class MatchList {
 public:
  int GroupCount() const { return groupCount_; }
  int Count() const { return count_; }
  // The offsets of slot (0 for the whole match, g for group g) of match index; both are -1
  // when the group took no part. Index and slot must be in range.
  std::int32_t Start(int index, int slot) const { return offsets_[Position(index, slot)]; }
  std::int32_t End(int index, int slot) const { return offsets_[Position(index, slot) + 1]; }

 private:
  friend class CompiledPattern;
  std::size_t Position(int index, int slot) const {
    return (static_cast<std::size_t>(index) * static_cast<std::size_t>(groupCount_ + 1) +
            static_cast<std::size_t>(slot)) * 2;
  }

  int groupCount_ = 0;
  int count_ = 0;
  std::vector<std::int32_t> offsets_;
};

class CompiledPattern {
 public:
  struct CodeDeleter {
    void operator()(pcre2_real_code_16* code) const;
  };

  CompiledPattern(std::unique_ptr<pcre2_real_code_16, CodeDeleter> code, int groupCount,
                  bool jit, std::u16string emitted);

  int GroupCount() const { return groupCount_; }
  // Whether PCRE2 compiled the pattern to machine code.
  bool UsesJit() const { return jit_; }
  // The PCRE2 pattern the dialect pattern became.
  const std::u16string& Emitted() const { return emitted_; }
  // Whether PCRE2 tries matches only at line starts (its optimisation for a leading .*).
  bool StartsAtLineStarts() const;

  // Finds the matches of the pattern in subject: every one with global, else the first.
  // Each search resumes where the last match ended, one unit further after an empty match.
  // On any status but kOk, out holds nothing useful.
  MatchStatus FindAll(std::u16string_view subject, bool global, MatchList& out,
                      std::chrono::steady_clock::duration budget = kFindAllBudget) const;

 private:
  std::unique_ptr<pcre2_real_code_16, CodeDeleter> code_;
  int groupCount_;
  bool jit_;
  std::u16string emitted_;
};

struct CompileOutcome {
  std::shared_ptr<const CompiledPattern> pattern;  // null when the pattern was rejected
  ParseError error;                                // why, when it was
};

// Parses, emits and compiles pattern.
CompileOutcome CompilePattern(std::u16string_view pattern, const CompileOptions& options);

// Returns CompilePattern's result, reusing one of the last few compiled on the calling thread
// when pattern and options are the same.
CompileOutcome CompileCached(std::u16string_view pattern, const CompileOptions& options);

}  // namespace quivella::platform::regex
