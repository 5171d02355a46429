// Helpers shared by the regex tests: readable failure messages and a compact text form of a
// match list that tables can state.
#pragma once

#include <string>
#include <string_view>

#include "platform/regex/regex_matcher.h"

namespace quivella::platform::regex::testing {

// Returns units as UTF-8 for messages; a lone surrogate and every control unit is shown as
// \uXXXX so the message stays one readable line.
inline std::string Utf8(std::u16string_view units) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (std::size_t i = 0; i < units.size(); ++i) {
    char32_t cp = units[i];
    const bool pair = cp >= 0xD800 && cp <= 0xDBFF && i + 1 < units.size() &&
                      units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF;
    if (pair) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (units[++i] - 0xDC00u);
    }
    if (cp < 0x20 || (cp >= 0xD800 && cp <= 0xDFFF) || cp == 0x7F) {
      out += "\\u";
      for (int shift = 12; shift >= 0; shift -= 4) {
        out.push_back(kHex[(cp >> shift) & 0xF]);
      }
    } else if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

// Stands for a group that took no part in a match.
inline constexpr std::u16string_view kUnset = u"\u2205";

// Writes a match list as "index:value(group,group) index:value ...", kUnset for a group that
// took no part and no parentheses when the pattern has no groups.
inline std::u16string Describe(std::u16string_view subject, const MatchList& matches) {
  std::u16string out;
  auto slotText = [&](int match, int slot) -> std::u16string_view {
    const std::int32_t start = matches.Start(match, slot);
    if (start < 0) {
      return kUnset;
    }
    return subject.substr(static_cast<std::size_t>(start),
                          static_cast<std::size_t>(matches.End(match, slot) - start));
  };
  for (int i = 0; i < matches.Count(); ++i) {
    if (i > 0) {
      out.push_back(u' ');
    }
    const std::string index = std::to_string(matches.Start(i, 0));
    out.append(index.begin(), index.end());
    out.push_back(u':');
    out += slotText(i, 0);
    if (matches.GroupCount() > 0) {
      out.push_back(u'(');
      for (int g = 1; g <= matches.GroupCount(); ++g) {
        if (g > 1) {
          out.push_back(u',');
        }
        out += slotText(i, g);
      }
      out.push_back(u')');
    }
  }
  return out;
}

}  // namespace quivella::platform::regex::testing
