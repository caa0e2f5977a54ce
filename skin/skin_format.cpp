#include "skin/skin_format.h"

#include <cstring>

namespace {

constexpr size_t kHeaderSize = 20;
constexpr size_t kDirectoryEntrySize = 12;
constexpr size_t kMaxSections = 64;
constexpr size_t kMaxNameLength = 64;

uint16_t ReadU16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

uint32_t ReadU32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

struct Section {
  const unsigned char* data;
  size_t size;
};

// Table entries of count fixed-size records after a 2-byte count; false when they overrun.
bool RecordsFit(const Section& s, size_t record, size_t* count) {
  if (s.size < 2) return false;
  *count = ReadU16(s.data);
  return *count <= (s.size - 2) / record;
}

bool ReadColors(const Section& s, Skin* skin) {
  size_t count = 0;
  if (!RecordsFit(s, 6, &count)) return false;
  bool given[kSkinRoleCount] = {};
  for (size_t i = 0; i < count; ++i) {
    const unsigned char* e = s.data + 2 + i * 6;
    const uint16_t role = ReadU16(e);
    if (role == 0 || role >= kSkinRoleCount) continue;  // a later version's role
    skin->colors[role] = static_cast<uint32_t>(e[2]) | static_cast<uint32_t>(e[3]) << 8 |
                         static_cast<uint32_t>(e[4]) << 16;
    given[role] = true;
  }
  for (int role = 1; role < kSkinRoleCount; ++role)
    if (!given[role]) return false;
  return true;
}

bool ReadMetrics(const Section& s, Skin* skin) {
  size_t count = 0;
  if (!RecordsFit(s, 4, &count)) return false;
  for (size_t i = 0; i < count; ++i) {
    const unsigned char* e = s.data + 2 + i * 4;
    const int value = static_cast<int16_t>(ReadU16(e + 2));
    switch (ReadU16(e)) {
      case kSkinButtonRadius:
        if (value < 0 || value > 12) return false;
        skin->button_radius = value;
        break;
      case kSkinBorderWidth:
        if (value < 1 || value > 3) return false;
        skin->border_width = value;
        break;
      default:
        break;
    }
  }
  return true;
}

}  // namespace

uint32_t SkinCrc32(const unsigned char* data, size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

std::optional<Skin> ParseSkin(const unsigned char* data, size_t size) {
  if (data == nullptr || size < kHeaderSize || std::memcmp(data, ".SHE", 4) != 0) return {};
  if (ReadU16(data + 4) != kSkinFormatMajor) return {};
  const size_t length = ReadU32(data + 8);
  if (length < kHeaderSize || length > size) return {};
  if (SkinCrc32(data + 16, length - 16) != ReadU32(data + 12)) return {};
  const size_t sections = ReadU16(data + 16);
  if (sections == 0 || sections > kMaxSections) return {};
  const size_t directory_end = kHeaderSize + sections * kDirectoryEntrySize;
  if (directory_end > length) return {};

  Skin skin{};
  skin.button_radius = 3;
  skin.border_width = 1;
  bool have_name = false, have_colors = false, have_metrics = false;
  for (size_t i = 0; i < sections; ++i) {
    const unsigned char* entry = data + kHeaderSize + i * kDirectoryEntrySize;
    const size_t offset = ReadU32(entry + 4);
    const size_t section_size = ReadU32(entry + 8);
    // Written as subtractions so that no sum can wrap around.
    if (offset < directory_end || offset > length || section_size > length - offset) return {};
    const Section s{data + offset, section_size};
    if (std::memcmp(entry, "NAME", 4) == 0) {
      if (have_name || s.size == 0 || s.size > kMaxNameLength) return {};
      skin.name.assign(reinterpret_cast<const char*>(s.data), s.size);
      have_name = true;
    } else if (std::memcmp(entry, "COLR", 4) == 0) {
      if (have_colors || !ReadColors(s, &skin)) return {};
      have_colors = true;
    } else if (std::memcmp(entry, "METR", 4) == 0) {
      if (have_metrics || !ReadMetrics(s, &skin)) return {};
      have_metrics = true;
    }
  }
  if (!have_name || !have_colors) return {};
  return skin;
}
