// The skin image parser on any bytes: it must read nothing outside the buffer (the buffer
// libFuzzer hands over has exactly the input's size, so ASan sees any byte read past it), and a
// skin it accepts must hold values the painter can use.
#include <cstring>
#include <memory>

#include "fuzz/fuzz_input.h"
#include "skin/skin_format.h"

namespace {

void Check(const unsigned char* data, size_t size) {
  const std::optional<Skin> skin = ParseSkin(data, size);
  if (skin) {
    FUZZ_CHECK(!skin->name.empty() && skin->name.size() <= 64);
    FUZZ_CHECK(skin->button_radius >= 0 && skin->button_radius <= 12);
    FUZZ_CHECK(skin->border_width >= 1 && skin->border_width <= 3);
    for (int role = 1; role < kSkinRoleCount; ++role) FUZZ_CHECK(skin->colors[role] <= 0xFFFFFFu);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Check(data, size);
  // The checksum would stop almost every mutation at the header: a copy with the checksum
  // made right reaches the directory and the sections. The copy is exactly `size` bytes on
  // the heap, so a read past its end is caught too.
  if (size >= 20) {
    std::unique_ptr<unsigned char[]> copy(new unsigned char[size]);
    std::memcpy(copy.get(), data, size);
    const size_t length = static_cast<size_t>(copy[8]) | static_cast<size_t>(copy[9]) << 8 |
                          static_cast<size_t>(copy[10]) << 16 | static_cast<size_t>(copy[11]) << 24;
    if (length >= 20 && length <= size) {
      const uint32_t crc = SkinCrc32(copy.get() + 16, length - 16);
      for (int i = 0; i < 4; ++i) copy[12 + i] = static_cast<unsigned char>(crc >> (8 * i));
      Check(copy.get(), size);
    }
  }
  return 0;
}
