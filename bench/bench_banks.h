// Banks for the benchmarks: the delivered ones, and synthetic ones made of copies of kjxs.txt.
//
// A synthetic bank repeats the entry lines of kjxs.txt, each copy's questions made distinct by a
// leading copy number, so matches and rows both grow with the size.
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
inline Text SyntheticBank(int copies) {
  const Text kjxs = ReadResource("kjxs.txt");
  Text bank = "@@@@@@@@@@@@@@@@@BENCH@@@@@@@@@@@@@@@@@\r\n";
  bank.reserve((kjxs.size() + 1024) * static_cast<std::size_t>(copies));
  for (int k = 0; k < copies; ++k) {
    const std::string prefix = std::to_string(k);
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
