// The PCRE2 side of the dialect: compile options, limits, the find-all loop, the caseless
// back-reference check and the per-thread cache of compiled patterns.
#include "platform/regex/regex_matcher.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <time.h>

#include <algorithm>
#include <array>
#include <utility>

#include "platform/regex/regex_case.h"
#include "platform/regex/regex_emitter.h"
#include "platform/regex/regex_parser.h"

namespace quivella::platform::regex {
namespace {

// PCRE2 nests groups recursively when it compiles; the emitter makes at most about three
// PCRE2 groups of each dialect level, so this is well above what kMaxNestingDepth allows.
constexpr std::uint32_t kParensNestLimit = 1000;
constexpr std::size_t kJitStackStart = 32 * 1024;
constexpr int kCachedPatterns = 4;

struct MatchContextDeleter {
  void operator()(pcre2_match_context* p) const { pcre2_match_context_free(p); }
};
struct CompileContextDeleter {
  void operator()(pcre2_compile_context* p) const { pcre2_compile_context_free(p); }
};
struct JitStackDeleter {
  void operator()(pcre2_jit_stack* p) const { pcre2_jit_stack_free(p); }
};
struct MatchDataDeleter {
  void operator()(pcre2_match_data* p) const { pcre2_match_data_free(p); }
};

PCRE2_SPTR AsPcre2(const char16_t* units) { return reinterpret_cast<PCRE2_SPTR>(units); }

// Reads a monotonic clock in nanoseconds. The coarse clock costs a memory read, which matters
// because it is read at match attempts; its few milliseconds of resolution are plenty for a
// budget of a second.
std::int64_t ClockNanoseconds() {
#ifdef CLOCK_MONOTONIC_COARSE
  timespec now{};
  if (clock_gettime(CLOCK_MONOTONIC_COARSE, &now) == 0) {
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
  }
#endif
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// The state of one FindAll that its callouts see.
struct SearchState {
  std::int64_t deadline = 0;  // ClockNanoseconds() after which the search gives up
  std::uint32_t attempts = 0;
};

// How many match attempts pass between two looks at the clock. An attempt is bounded by the
// match limit, so the budget is overrun by at most this many limited attempts.
constexpr std::uint32_t kAttemptsPerClockCheck = 16;

// Refuses a caseless back-reference that PCRE2 accepted for a pair of units the dialect does
// not fold together. The callout number is the group's; the reference has just matched, ending
// at the current position, with the group's length (PCRE2 compares unit by unit).
int CheckBackReference(const pcre2_callout_block& block) {
  const std::uint32_t group = block.callout_number;
  if (group >= block.capture_top) {
    return 0;  // unset: it matched the empty string
  }
  const PCRE2_SIZE start = block.offset_vector[2 * group];
  const PCRE2_SIZE end = block.offset_vector[2 * group + 1];
  if (start == PCRE2_UNSET || end < start) {
    return 0;
  }
  const PCRE2_SIZE length = end - start;
  if (block.current_position < length) {
    return 0;
  }
  const PCRE2_SPTR subject = block.subject;
  const PCRE2_SIZE copy = block.current_position - length;
  for (PCRE2_SIZE i = 0; i < length; ++i) {
    const auto a = static_cast<char16_t>(subject[start + i]);
    const auto b = static_cast<char16_t>(subject[copy + i]);
    if (a == b || (!FoldsDifferently(a) && !FoldsDifferently(b))) {
      continue;
    }
    bool same = false;
    for (char16_t member : DialectCaseClass(a)) {
      same = same || member == b;
    }
    if (!same) {
      return 1;  // fail here and backtrack
    }
  }
  return 0;
}

// Handles the emitter's callouts: the one at each match attempt checks the time budget, the
// others check caseless back-references.
int OnCallout(pcre2_callout_block* block, void* data) {
  if (block->callout_number != static_cast<std::uint32_t>(kAttemptCallout)) {
    return CheckBackReference(*block);
  }
  auto* state = static_cast<SearchState*>(data);
  if (++state->attempts % kAttemptsPerClockCheck == 0 && ClockNanoseconds() > state->deadline) {
    return PCRE2_ERROR_CALLOUT;  // abandons the whole call
  }
  return 0;
}

// What each thread keeps for matching: the match context with the limits, its JIT stack,
// and match data large enough for the patterns seen so far.
class MatchResources {
 public:
  MatchResources()
      : context_(pcre2_match_context_create(nullptr)),
        jitStack_(pcre2_jit_stack_create(kJitStackStart, kJitStackSize, nullptr)) {
    if (context_) {
      pcre2_set_match_limit(context_.get(), kMatchLimit);
      pcre2_set_heap_limit(context_.get(), kHeapLimitKiB);
      if (jitStack_) {
        pcre2_jit_stack_assign(context_.get(), nullptr, jitStack_.get());
      }
    }
  }

  // Returns the match context, its callouts reporting to state.
  pcre2_match_context* Context(SearchState& state) const {
    if (context_) {
      pcre2_set_callout(context_.get(), OnCallout, &state);
    }
    return context_.get();
  }

  // Returns match data with room for slots start/end pairs; null when out of memory.
  pcre2_match_data* MatchData(std::uint32_t slots) {
    if (!matchData_ || capacity_ < slots) {
      matchData_.reset(pcre2_match_data_create(slots, nullptr));
      capacity_ = matchData_ ? slots : 0;
    }
    return matchData_.get();
  }

 private:
  std::unique_ptr<pcre2_match_context, MatchContextDeleter> context_;
  std::unique_ptr<pcre2_jit_stack, JitStackDeleter> jitStack_;
  std::unique_ptr<pcre2_match_data, MatchDataDeleter> matchData_;
  std::uint32_t capacity_ = 0;
};

MatchResources& ThreadResources() {
  thread_local MatchResources resources;
  return resources;
}

bool IsLimit(int rc) {
  return rc == PCRE2_ERROR_MATCHLIMIT || rc == PCRE2_ERROR_DEPTHLIMIT ||
         rc == PCRE2_ERROR_HEAPLIMIT || rc == PCRE2_ERROR_NOMEMORY ||
         rc == PCRE2_ERROR_JIT_STACKLIMIT || rc == PCRE2_ERROR_CALLOUT;
}

}  // namespace

void CompiledPattern::CodeDeleter::operator()(pcre2_real_code_16* code) const {
  pcre2_code_free(code);
}

CompiledPattern::CompiledPattern(std::unique_ptr<pcre2_real_code_16, CodeDeleter> code,
                                 int groupCount, bool jit, std::u16string emitted)
    : code_(std::move(code)), groupCount_(groupCount), jit_(jit), emitted_(std::move(emitted)) {}

bool CompiledPattern::StartsAtLineStarts() const {
  std::uint32_t type = 0;
  return pcre2_pattern_info(code_.get(), PCRE2_INFO_FIRSTCODETYPE, &type) == 0 && type == 2;
}

MatchStatus CompiledPattern::FindAll(std::u16string_view subject, bool global, MatchList& out,
                                     std::chrono::steady_clock::duration budget) const {
  out.groupCount_ = groupCount_;
  out.count_ = 0;
  out.offsets_.clear();
  if (subject.size() > kMaxSubjectLength) {
    return MatchStatus::kSubjectTooLong;
  }
  MatchResources& resources = ThreadResources();
  const auto slots = static_cast<std::uint32_t>(groupCount_) + 1;
  pcre2_match_data* data = resources.MatchData(slots);
  SearchState state;
  state.deadline =
      ClockNanoseconds() + std::chrono::duration_cast<std::chrono::nanoseconds>(budget).count();
  pcre2_match_context* context = resources.Context(state);
  if (!context || !data) {
    return MatchStatus::kFailed;
  }
  const std::uint32_t options = jit_ ? 0 : PCRE2_NO_JIT;
  const PCRE2_SPTR units = AsPcre2(subject.data());
  const PCRE2_SIZE length = subject.size();
  PCRE2_SIZE start = 0;
  while (start <= length) {
    int rc = pcre2_match(code_.get(), units, length, start, options, data, context);
    if (rc == PCRE2_ERROR_JIT_STACKLIMIT) {
      rc = pcre2_match(code_.get(), units, length, start, PCRE2_NO_JIT, data, context);
    }
    if (rc == PCRE2_ERROR_NOMATCH) {
      break;
    }
    if (rc < 0) {
      return IsLimit(rc) ? MatchStatus::kLimitExceeded : MatchStatus::kFailed;
    }
    if (out.offsets_.size() + 2 * slots > kMaxMatchOffsets) {
      return MatchStatus::kLimitExceeded;
    }
    // rc is one more than the highest group that took part; the pairs above it are unset.
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data);
    for (std::uint32_t slot = 0; slot < slots; ++slot) {
      const bool set = slot < static_cast<std::uint32_t>(rc) && ovector[2 * slot] != PCRE2_UNSET;
      out.offsets_.push_back(set ? static_cast<std::int32_t>(ovector[2 * slot]) : -1);
      out.offsets_.push_back(set ? static_cast<std::int32_t>(ovector[2 * slot + 1]) : -1);
    }
    ++out.count_;
    if (!global) {
      break;
    }
    start = ovector[1] == ovector[0] ? ovector[1] + 1 : ovector[1];
  }
  return MatchStatus::kOk;
}

CompileOutcome CompilePattern(std::u16string_view pattern, const CompileOptions& options) {
  CompileOutcome outcome;
  ParseOutcome parsed = ParsePattern(pattern);
  if (!parsed.pattern) {
    outcome.error = parsed.error;
    return outcome;
  }
  std::u16string emitted =
      EmitPcre2(*parsed.pattern, EmitOptions{options.ignoreCase, options.multiline});

  std::unique_ptr<pcre2_compile_context, CompileContextDeleter> context(
      pcre2_compile_context_create(nullptr));
  if (!context) {
    outcome.error = ParseError{ErrorCode::kEngineRejected, 0};
    return outcome;
  }
  pcre2_set_newline(context.get(), PCRE2_NEWLINE_LF);
  pcre2_set_parens_nest_limit(context.get(), kParensNestLimit);
  std::uint32_t flags = PCRE2_MATCH_UNSET_BACKREF | PCRE2_NEVER_UTF | PCRE2_NEVER_BACKSLASH_C;
  if (options.ignoreCase) {
    flags |= PCRE2_CASELESS | PCRE2_UCP;
  }
  int errorCode = 0;
  PCRE2_SIZE errorOffset = 0;
  std::unique_ptr<pcre2_real_code_16, CompiledPattern::CodeDeleter> code(
      pcre2_compile(AsPcre2(emitted.data()), emitted.size(), flags, &errorCode, &errorOffset,
                    context.get()));
  if (!code) {
    // The dialect was accepted, so only PCRE2's own limits should get here.
    const bool limit = errorCode == PCRE2_ERROR_PARENTHESES_NEST_TOO_DEEP ||
                       errorCode == PCRE2_ERROR_PATTERN_TOO_LARGE ||
                       errorCode == PCRE2_ERROR_HEAP_FAILED ||
                       errorCode == PCRE2_ERROR_PATTERN_TOO_COMPLICATED ||
                       errorCode == PCRE2_ERROR_PATTERN_STRING_TOO_LONG ||
                       errorCode == PCRE2_ERROR_TOO_MANY_CAPTURES;
    outcome.error = ParseError{limit ? ErrorCode::kEngineRejected : ErrorCode::kEmitterFault, 0};
    return outcome;
  }
  // PCRE2 10.42's JIT folds caseless back-references by its ASCII tables alone when not in
  // UTF mode (it finds no "\u00E9\u00C9" for (\u00E9)\1), while the interpreter folds by
  // Unicode: such patterns run on the interpreter. Without JIT support, or out of executable
  // memory, every pattern does.
  const bool caselessReferences = options.ignoreCase && parsed.pattern->hasBackReference;
  const bool jit = options.jit && !caselessReferences &&
                   pcre2_jit_compile(code.get(), PCRE2_JIT_COMPLETE) == 0;
  outcome.pattern = std::make_shared<const CompiledPattern>(
      std::move(code), parsed.pattern->groupCount, jit, std::move(emitted));
  return outcome;
}

CompileOutcome CompileCached(std::u16string_view pattern, const CompileOptions& options) {
  struct Entry {
    bool used = false;
    std::u16string pattern;
    CompileOptions options;
    CompileOutcome outcome;
  };
  // Most recently used first.
  thread_local std::array<Entry, kCachedPatterns> cache;
  for (std::size_t i = 0; i < cache.size(); ++i) {
    if (cache[i].used && cache[i].options == options && cache[i].pattern == pattern) {
      std::rotate(cache.begin(), cache.begin() + static_cast<std::ptrdiff_t>(i),
                  cache.begin() + static_cast<std::ptrdiff_t>(i) + 1);
      return cache.front().outcome;
    }
  }
  std::rotate(cache.begin(), cache.end() - 1, cache.end());
  cache.front() = Entry{true, std::u16string(pattern), options, CompilePattern(pattern, options)};
  return cache.front().outcome;
}

}  // namespace quivella::platform::regex
