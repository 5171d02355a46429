// The units where the dialect's case folding and PCRE2's caseless matching disagree.
//
// The dialect folds a unit to its upper case, except that a unit whose upper case is several
// characters (ß, the Greek letters with iota subscript) or is ASCII while the unit is not
// (U+017F long s) folds only with itself; PCRE2 folds by Unicode's simple case folding, which
// also joins U+212A Kelvin with k, U+2126 Ohm with ω, U+212B Angstrom with å, U+03F4 with θ
// and U+1E9E with ß. Everywhere else the two agree, so the emitter lets PCRE2 fold every unit
// outside this small set and spells the members of each divergent unit's case class out.
// The set is closed: a divergent unit's case class holds only divergent units under either
// folding.
#pragma once

#include <span>

namespace quivella::platform::regex {

// Whether unit folds differently in the dialect than under PCRE2's caseless matching.
bool FoldsDifferently(char16_t unit);

// The units that unit matches under the dialect's IgnoreCase (unit itself included) when
// FoldsDifferently is true for it; empty otherwise.
std::span<const char16_t> DialectCaseClass(char16_t unit);

// Every unit where FoldsDifferently is true, in ascending order.
std::span<const char16_t> DivergentUnits();

}  // namespace quivella::platform::regex
