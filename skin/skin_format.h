// The ".SHE" skin image: the engine's own format, read here by a parser that trusts nothing in
// the bytes. It builds everywhere, so it is unit-tested and fuzzed natively.
//
// Layout, version 1 (all integers little-endian, offsets from the first byte of the image):
//
//   0   4  magic ".SHE"
//   4   2  major version: 1; an image of another major version is refused
//   6   2  minor version: additions a version-1 reader may ignore
//   8   4  length of the whole image in bytes (at least 20, at most the buffer given)
//  12   4  CRC-32 (IEEE 802.3, as zlib computes it) of bytes 16 .. length-1
//  16   2  section count (1 to 64)
//  18   2  reserved, 0
//  20      section directory: count entries of 12 bytes:
//            4  tag, four ASCII characters
//            4  offset of the section
//            4  length of the section
//          Every section lies wholly after the directory and within the image.
//
// Sections (unknown tags are skipped, so later minor versions may add some):
//   "NAME"  the skin's name, UTF-8, 1 to 64 bytes
//   "COLR"  2-byte count, then count entries of 6 bytes: 2-byte role (SkinRole), red, green,
//           blue, 1 reserved byte. Every role of version 1 must be given; unknown roles are
//           skipped.
//   "METR"  optional: 2-byte count, then count entries of 4 bytes: 2-byte metric id, 2-byte
//           signed value (SkinMetric); a value out of its range makes the image unusable.
// "NAME" and "COLR" are required, and no tag may appear twice.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

enum SkinRole {
  kSkinWindow = 1,          // background of windows and labels
  kSkinWindowText = 2,      // label text
  kSkinEditBack = 3,
  kSkinEditText = 4,
  kSkinFaceTop = 5,         // push button face, drawn as a vertical gradient
  kSkinFaceBottom = 6,
  kSkinBorder = 7,
  kSkinButtonText = 8,
  kSkinHotTop = 9,          // face under the mouse
  kSkinHotBottom = 10,
  kSkinPressedTop = 11,
  kSkinPressedBottom = 12,
  kSkinHeaderFace = 13,     // list-view column header
  kSkinHeaderText = 14,
  kSkinProgressBar = 15,
  kSkinProgressBack = 16,
  kSkinCaptionLeft = 17,    // caption bar of an active window, a horizontal gradient
  kSkinCaptionRight = 18,
  kSkinCaptionText = 19,
  kSkinCaptionIdleLeft = 20,  // the same for an inactive window
  kSkinCaptionIdleRight = 21,
  kSkinFocus = 22,          // focus mark on buttons
  kSkinDisabledText = 23,
  kSkinRoleCount = 24       // one past the last role; index 0 is unused
};

enum SkinMetric {
  kSkinButtonRadius = 1,  // corner radius of buttons, 0 to 12 pixels
  kSkinBorderWidth = 2,   // button border, 1 to 3 pixels
};

struct Skin {
  std::string name;                   // UTF-8
  uint32_t colors[kSkinRoleCount];    // 0x00BBGGRR, as a Windows COLORREF
  int button_radius;
  int border_width;
};

constexpr uint16_t kSkinFormatMajor = 1;
constexpr uint16_t kSkinFormatMinor = 0;

// The skin an image describes, or nothing when the image is not a usable version-1 skin.
// Reads no byte outside data[0 .. size-1].
std::optional<Skin> ParseSkin(const unsigned char* data, size_t size);

uint32_t SkinCrc32(const unsigned char* data, size_t size);
