// Banks for the benchmarks: the delivered ones, and synthetic ones made of copies of kjxs.txt.
//
// A synthetic bank repeats the entry lines of kjxs.txt, each copy's questions made distinct by a
// leading copy number, so matches and rows both grow with the size. The number is written with
// ten rare characters in place of digits, so a query matches in every copy just what it matches
// in kjxs.txt.
#pragma once

#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace quivella::bench {

inline Text ReadResource(const char* name) {
  std::ifstream in(std::string(QUIVELLA_RESOURCES_DIR) + "/" + name, std::ios::binary);
  return Text(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Builds a bank of copies times the entry lines of kjxs.txt, in the same format.
// Writes n with the rare characters 亍丌兀丐廿卅丕亘丞鬲 as its digits.
inline std::string CopyNumber(int n) {
  std::string out;
  do {
    out.insert(out.begin(), {'\xD8', static_cast<char>(0xA1 + n % 10)});
    n /= 10;
  } while (n > 0);
  return out;
}

inline Text SyntheticBank(int copies) {
  const Text kjxs = ReadResource("kjxs.txt");
  Text bank = "@@@@@@@@@@@@@@@@@BENCH@@@@@@@@@@@@@@@@@\r\n";
  bank.reserve((kjxs.size() + 1024) * static_cast<std::size_t>(copies));
  for (int k = 0; k < copies; ++k) {
    const std::string prefix = CopyNumber(k);
    std::size_t start = 0;
    while (start < kjxs.size()) {
      std::size_t end = kjxs.find("\r\n", start);
      end = end == Text::npos ? kjxs.size() : end + 2;
      const std::string_view line(kjxs.data() + start, end - start);
      if (line.find('?') != std::string_view::npos) {
        bank.append(prefix).append(line);
      }
      start = end;
    }
  }
  return bank;
}

}  // namespace quivella::bench
