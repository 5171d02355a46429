// Writing UTF-16 text as a JSON string that survives lone surrogates: printable ASCII stands as
// itself, every other unit as \uXXXX. Shared by the probe and the tests that feed it.
#pragma once

#include <string>
#include <string_view>

namespace quivella::probe {

// Appends units to out as a JSON string.
inline void AppendJsonString(std::string& out, std::u16string_view units) {
  static constexpr char kHex[] = "0123456789abcdef";
  out.push_back('"');
  for (char16_t unit : units) {
    if (unit == u'"' || unit == u'\\') {
      out.push_back('\\');
      out.push_back(static_cast<char>(unit));
    } else if (unit >= 0x20 && unit < 0x7F) {
      out.push_back(static_cast<char>(unit));
    } else {
      out += "\\u";
      for (int shift = 12; shift >= 0; shift -= 4) {
        out.push_back(kHex[(static_cast<unsigned>(unit) >> static_cast<unsigned>(shift)) & 0xFu]);
      }
    }
  }
  out.push_back('"');
}

}  // namespace quivella::probe
