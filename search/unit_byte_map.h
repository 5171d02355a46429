// Where each UTF-16 unit of a converted code page 936 text starts among the text's bytes.
//
// When a text's bytes convert to UTF-16 and back to exactly the same bytes, every character is
// one unit and one or two bytes (two when its first byte is 0x81 to 0xFE), so the standard
// conversion of any run of units is the run of bytes they came from. A group's text is then a
// slice of the subject's bytes, with no conversion at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quivella {

class UnitByteMap {
 public:
  // Maps units, the UTF-16 form of bytes (without a terminating unit). The map is inexact, and
  // must not be used, when the bytes do not come back from the units unchanged (or exceed the
  // 4 GiB its offsets can hold).
  UnitByteMap(std::string_view bytes, std::u16string_view units);
  UnitByteMap() = default;

  bool Exact() const { return exact_; }
  // The byte offset at which unit starts; unit may be one past the last unit.
  std::size_t ByteOffset(std::string_view bytes, std::size_t unit) const;

 private:
  static constexpr std::size_t kStride = 16;  // units between two checkpoints
  bool exact_ = false;
  std::vector<std::uint32_t> checkpoints_;  // byte offset of unit k * kStride
};

}  // namespace quivella
