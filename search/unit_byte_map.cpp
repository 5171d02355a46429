// The unit-to-byte map of a converted subject.
#include "search/unit_byte_map.h"

#include "platform/cp936.h"

namespace quivella {
namespace {

// Tells how many bytes the character starting with byte b takes.
std::size_t CharacterWidth(char b) {
  const auto u = static_cast<unsigned char>(b);
  return u >= 0x81 && u <= 0xFE ? 2 : 1;
}

}  // namespace

UnitByteMap::UnitByteMap(std::string_view bytes, std::u16string_view units) {
  if (bytes.size() > UINT32_MAX || StandardFromUtf16(units) != bytes) {
    return;
  }
  checkpoints_.reserve(units.size() / kStride + 1);
  std::size_t at = 0;
  for (std::size_t unit = 0; unit < units.size(); ++unit) {
    if (unit % kStride == 0) {
      checkpoints_.push_back(static_cast<std::uint32_t>(at));
    }
    at += CharacterWidth(bytes[at]);
  }
  exact_ = at == bytes.size();
}

std::size_t UnitByteMap::ByteOffset(std::string_view bytes, std::size_t unit) const {
  const std::size_t checkpoint = unit / kStride;
  if (checkpoint >= checkpoints_.size()) {
    return bytes.size();  // one past the last unit
  }
  std::size_t at = checkpoints_[checkpoint];
  for (std::size_t u = checkpoint * kStride; u < unit; ++u) {
    at += CharacterWidth(bytes[at]);
  }
  return at;
}

}  // namespace quivella
