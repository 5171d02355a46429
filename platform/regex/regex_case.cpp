// The case-folding divergence table. It was derived by comparing, for every UTF-16 unit, the
// units PCRE2 10.42 (Unicode 14) matches caselessly with the units that share its dialect
// case key (the single-character upper case, kept only when it is not ASCII for a non-ASCII
// unit); characters added to Unicode after version 14 are left out, since PCRE2 knows none of
// their cases.
#include "platform/regex/regex_case.h"

#include <algorithm>
#include <array>

namespace quivella::platform::regex {
namespace {

// The divergent case classes with more than one member; every other divergent unit folds
// only with itself.
constexpr std::array<char16_t, 2> kKClass = {u'K', u'k'};
constexpr std::array<char16_t, 2> kSClass = {u'S', u's'};
constexpr std::array<char16_t, 2> kARingClass = {u'\u00C5', u'\u00E5'};
constexpr std::array<char16_t, 3> kThetaClass = {u'\u0398', u'\u03B8', u'\u03D1'};
constexpr std::array<char16_t, 2> kOmegaClass = {u'\u03A9', u'\u03C9'};

constexpr std::array<char16_t, 72> kDivergent = [] {
  std::array<char16_t, 72> units{};
  std::size_t n = 0;
  for (char16_t u : {u'K', u'S', u'k', u's', u'\u00C5', u'\u00DF', u'\u00E5', u'\u017F', u'\u0398',
                     u'\u03A9', u'\u03B8', u'\u03C9', u'\u03D1', u'\u03F4', u'\u1E9E'}) {
    units[n++] = u;
  }
  // Greek with ypogegrammeni or prosgegrammeni: the upper case is two characters, while
  // simple folding pairs each small letter with its title-case form.
  for (char16_t u = u'\u1F80'; u <= u'\u1FAF'; ++u) {
    units[n++] = u;
  }
  for (char16_t u : {u'\u1FB3', u'\u1FBC', u'\u1FC3', u'\u1FCC', u'\u1FF3', u'\u1FFC', u'\u2126',
                     u'\u212A', u'\u212B'}) {
    units[n++] = u;
  }
  return units;
}();
static_assert(std::is_sorted(kDivergent.begin(), kDivergent.end()));

}  // namespace

std::span<const char16_t> DivergentUnits() { return kDivergent; }

bool FoldsDifferently(char16_t unit) {
  if (unit > kDivergent.back()) {
    return false;  // the common case: CJK and everything above U+212B
  }
  return std::binary_search(kDivergent.begin(), kDivergent.end(), unit);
}

std::span<const char16_t> DialectCaseClass(char16_t unit) {
  for (std::span<const char16_t> group : {std::span<const char16_t>(kKClass),
                                          std::span<const char16_t>(kSClass),
                                          std::span<const char16_t>(kARingClass),
                                          std::span<const char16_t>(kThetaClass),
                                          std::span<const char16_t>(kOmegaClass)}) {
    if (std::find(group.begin(), group.end(), unit) != group.end()) {
      return group;
    }
  }
  const auto* it = std::lower_bound(kDivergent.begin(), kDivergent.end(), unit);
  if (it == kDivergent.end() || *it != unit) {
    return {};
  }
  return std::span<const char16_t>(it, 1);
}

}  // namespace quivella::platform::regex
