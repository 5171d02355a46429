// The emitter: syntax tree in, PCRE2 pattern out.
//
// The output is written for PCRE2's 16-bit library compiled with newline LF,
// PCRE2_MATCH_UNSET_BACKREF and PCRE2_NEVER_UTF, plus PCRE2_CASELESS | PCRE2_UCP under
// IgnoreCase (the matcher, regex_matcher.h, sets exactly these). Every construct is spelled so
// that no PCRE2 option or default can change its meaning: literals as \x{hhhh}, classes
// member by member, anchors and word boundaries as lookarounds. It never fails: the parser has
// rejected everything the dialect rejects.
#pragma once

#include <string>

#include "platform/regex/regex_syntax.h"

namespace quivella::platform::regex {

// The callout number at the start of the pattern; see EmitOptions::attemptCallout.
inline constexpr int kAttemptCallout = 255;

struct EmitOptions {
  bool ignoreCase = false;
  bool multiline = false;
  // Starts the pattern with the callout (?C255), which PCRE2 calls once at every position
  // where it tries a match, so the matcher can bound a search over many positions in time.
  // PCRE2 keeps its start-of-match optimisations (first unit, line starts, anchoring) with it.
  bool attemptCallout = true;
};

// Emits the PCRE2 pattern for parsed. Under IgnoreCase every back-reference is followed by
// the callout (?Cn), n being the group's number, so the matcher can refuse the pairs of units
// that PCRE2 folds together and the dialect does not (see regex_case.h).
std::u16string EmitPcre2(const ParsedPattern& parsed, const EmitOptions& options);

}  // namespace quivella::platform::regex
