// Slicing a subject's bytes by unit offsets gives what the standard conversion of those units
// gives, and the map refuses texts that do not come back unchanged.
#include "search/unit_byte_map.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/cp936.h"

namespace quivella {
namespace {

TEST(UnitByteMap, SlicesEqualTheStandardConversion) {
  // ASCII, two-byte characters, and the single-byte 0x80 and 0xFF of the code page.
  const Text text = "ab\xD6\xD0\xCE\xC4?\x80x\xFF\xA3\xA1\r\n\xB0\xA1z";
  const std::u16string units = StandardToUtf16(text);
  const UnitByteMap map(text, units);
  ASSERT_TRUE(map.Exact());
  for (std::size_t begin = 0; begin <= units.size(); ++begin) {
    for (std::size_t end = begin; end <= units.size(); ++end) {
      const std::size_t b = map.ByteOffset(text, begin);
      const std::size_t e = map.ByteOffset(text, end);
      EXPECT_EQ(text.substr(b, e - b), StandardFromUtf16(units.substr(begin, end - begin)))
          << begin << ".." << end;
    }
  }
}

TEST(UnitByteMap, LongTextAcrossCheckpoints) {
  std::mt19937 rng(7);
  Text text;
  for (int i = 0; i < 5000; ++i) {
    if (rng() % 3 == 0) {
      text += static_cast<char>('a' + rng() % 26);
    } else {
      text += static_cast<char>(0xB0 + rng() % 0x20);  // a common GB2312 row
      text += static_cast<char>(0xA1 + rng() % 0x5E);
    }
  }
  const std::u16string units = StandardToUtf16(text);
  const UnitByteMap map(text, units);
  ASSERT_TRUE(map.Exact());
  for (int i = 0; i < 2000; ++i) {
    const std::size_t begin = rng() % units.size();
    const std::size_t end = begin + rng() % (units.size() - begin + 1);
    const std::size_t b = map.ByteOffset(text, begin);
    ASSERT_EQ(text.substr(b, map.ByteOffset(text, end) - b),
              StandardFromUtf16(units.substr(begin, end - begin)));
  }
}

TEST(UnitByteMap, TextsThatDoNotComeBackAreInexact) {
  for (const Text& text : {Text("a\x81\x20"), Text("\xD6"), Text("x\x81\x7F" "y")}) {
    EXPECT_FALSE(UnitByteMap(text, StandardToUtf16(text)).Exact()) << text;
  }
  EXPECT_FALSE(UnitByteMap().Exact());
}

}  // namespace
}  // namespace quivella
