// The parser of the dialect: pattern text in, syntax tree or error out.
//
// It accepts exactly the dialect of the regular-expression component and rejects what that
// dialect rejects, with the position of the fault. It does not know PCRE2; the emitter
// (regex_emitter.h) turns the tree into a PCRE2 pattern.
#pragma once

#include <optional>
#include <string_view>

#include "platform/regex/regex_syntax.h"

namespace quivella::platform::regex {

struct ParseOutcome {
  std::optional<ParsedPattern> pattern;  // set when the pattern was accepted
  ParseError error;                      // why not, when it was rejected
};

// Parses pattern, a string of UTF-16 units.
ParseOutcome ParsePattern(std::u16string_view pattern);

}  // namespace quivella::platform::regex
