// The skin image parser: the 33 generated skins, and images that are cut short, damaged or
// built to lie about their own structure. Every image is handed over in a buffer of exactly its
// size, so the sanitizer build catches any read past the end.
#include "skin/skin_format.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes ReadFile(const std::string& path) {
  Bytes bytes;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    int c;
    while ((c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<unsigned char>(c));
    std::fclose(f);
  }
  return bytes;
}

Bytes Skin(int n) {
  char name[32];
  std::snprintf(name, sizeof name, "/skin%02d.she", n);
  return ReadFile(std::string(TC_SKIN_DIR) + name);
}

std::optional<::Skin> Parse(const Bytes& b) {
  // A copy of exactly b.size() bytes on the heap: nothing past it is readable.
  std::unique_ptr<unsigned char[]> exact(new unsigned char[b.empty() ? 1 : b.size()]);
  std::copy(b.begin(), b.end(), exact.get());
  return ParseSkin(b.empty() ? nullptr : exact.get(), b.size());
}

void PutU16(Bytes& b, size_t at, unsigned v) {
  b[at] = v & 0xFF, b[at + 1] = (v >> 8) & 0xFF;
}
void PutU32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = (v >> (8 * i)) & 0xFF;
}
uint32_t GetU32(const Bytes& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
// After a deliberate change, a checksum that matches again, so the structure checks are reached.
void Reseal(Bytes& b) {
  const size_t length = GetU32(b, 8) <= b.size() ? GetU32(b, 8) : b.size();
  if (length >= 16) PutU32(b, 12, SkinCrc32(b.data() + 16, length - 16));
}

struct Section {
  std::string tag;
  Bytes data;
};

// An image laid out as the format describes, from sections given here.
Bytes Build(const std::vector<Section>& sections, unsigned major = 1) {
  Bytes b(20 + 12 * sections.size(), 0);
  b[0] = '.', b[1] = 'S', b[2] = 'H', b[3] = 'E';
  PutU16(b, 4, major);
  PutU16(b, 16, static_cast<unsigned>(sections.size()));
  for (size_t i = 0; i < sections.size(); ++i) {
    const size_t entry = 20 + 12 * i;
    std::copy(sections[i].tag.begin(), sections[i].tag.end(), b.begin() + entry);
    PutU32(b, entry + 4, static_cast<uint32_t>(b.size()));
    PutU32(b, entry + 8, static_cast<uint32_t>(sections[i].data.size()));
    b.insert(b.end(), sections[i].data.begin(), sections[i].data.end());
  }
  PutU32(b, 8, static_cast<uint32_t>(b.size()));
  Reseal(b);
  return b;
}

Bytes Colors(int roles = kSkinRoleCount - 1, int first = 1) {
  Bytes c(2, 0);
  PutU16(c, 0, static_cast<unsigned>(roles));
  for (int r = first; r < first + roles; ++r)
    c.insert(c.end(), {static_cast<unsigned char>(r), 0, static_cast<unsigned char>(r), 0x20, 0x30, 0});
  return c;
}

Bytes Metrics(int id, int value) {
  return {1, 0, static_cast<unsigned char>(id), 0, static_cast<unsigned char>(value & 0xFF),
          static_cast<unsigned char>((value >> 8) & 0xFF)};
}

Section Name(const std::string& s = "Test") { return {"NAME", Bytes(s.begin(), s.end())}; }

int Distance(uint32_t a, uint32_t b) {
  int d = 0;
  for (int shift = 0; shift < 24; shift += 8)
    d += std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
  return d;
}

// Relative luminance contrast as WCAG defines it, for readability of text on a background.
double Contrast(uint32_t a, uint32_t b) {
  auto lum = [](uint32_t c) {
    double l = 0;
    const double weight[3] = {0.2126, 0.7152, 0.0722};
    for (int i = 0; i < 3; ++i) {
      double v = ((c >> (8 * i)) & 0xFF) / 255.0;
      v = v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
      l += weight[i] * v;
    }
    return l;
  };
  double x = lum(a), y = lum(b);
  if (x < y) std::swap(x, y);
  return (x + 0.05) / (y + 0.05);
}

TEST(SkinFormat, EveryGeneratedSkinParsesAndTheyDiffer) {
  std::set<std::string> names;
  std::vector<::Skin> skins;
  for (int n = 1; n <= 33; ++n) {
    const Bytes b = Skin(n);
    ASSERT_GE(b.size(), 4u) << "skin " << n;
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), ".SHE");
    const auto skin = Parse(b);
    ASSERT_TRUE(skin) << "skin " << n;
    EXPECT_FALSE(skin->name.empty());
    names.insert(skin->name);
    skins.push_back(*skin);
  }
  EXPECT_EQ(names.size(), 33u);
  // Visibly different: window, button face and caption together differ clearly between any two.
  for (size_t i = 0; i < skins.size(); ++i)
    for (size_t j = i + 1; j < skins.size(); ++j) {
      const int d = Distance(skins[i].colors[kSkinWindow], skins[j].colors[kSkinWindow]) +
                    Distance(skins[i].colors[kSkinFaceBottom], skins[j].colors[kSkinFaceBottom]) +
                    Distance(skins[i].colors[kSkinCaptionLeft], skins[j].colors[kSkinCaptionLeft]);
      EXPECT_GT(d, 40) << "skins " << i + 1 << " and " << j + 1;
    }
}

TEST(SkinFormat, SkinThreeIsEasyToRead) {
  const auto s = Parse(Skin(3));
  ASSERT_TRUE(s);
  EXPECT_GE(Contrast(s->colors[kSkinWindowText], s->colors[kSkinWindow]), 7.0);
  EXPECT_GE(Contrast(s->colors[kSkinButtonText], s->colors[kSkinFaceTop]), 7.0);
  EXPECT_GE(Contrast(s->colors[kSkinButtonText], s->colors[kSkinPressedBottom]), 4.5);
  EXPECT_GE(Contrast(s->colors[kSkinEditText], s->colors[kSkinEditBack]), 7.0);
  EXPECT_GE(Contrast(s->colors[kSkinHeaderText], s->colors[kSkinHeaderFace]), 7.0);
  EXPECT_GE(Contrast(s->colors[kSkinCaptionText], s->colors[kSkinCaptionLeft]), 4.5);
  // The list's blue text (0, 0, 255) sits on white; the window around it must not fight it:
  // a light, low-saturation background.
  EXPECT_GE(Contrast(0xFF0000u, s->colors[kSkinWindow]), 7.0);
}

TEST(SkinFormat, EveryShorterPrefixIsRefused) {
  const Bytes full = Skin(3);
  ASSERT_TRUE(Parse(full));
  for (size_t n = 0; n < full.size(); ++n)
    EXPECT_FALSE(Parse(Bytes(full.begin(), full.begin() + static_cast<long>(n)))) << n;
}

TEST(SkinFormat, BytesAfterTheImageAreIgnored) {
  Bytes b = Skin(3);
  b.insert(b.end(), 100, 0xCC);
  EXPECT_TRUE(Parse(b));
}

TEST(SkinFormat, AnyChangedByteIsRefusedExceptTheMinorVersion) {
  const Bytes full = Skin(7);
  for (size_t i = 0; i < full.size(); ++i) {
    for (unsigned char flip : {0x01, 0x80, 0xFF}) {
      Bytes b = full;
      b[i] ^= flip;
      EXPECT_EQ(static_cast<bool>(Parse(b)), i == 6 || i == 7) << "byte " << i << " ^ " << int(flip);
    }
  }
}

TEST(SkinFormat, StructureIsCheckedBehindAValidChecksum) {
  const Bytes colors = Colors(), metrics = Metrics(kSkinButtonRadius, 5);
  ASSERT_TRUE(Parse(Build({Name(), {"COLR", colors}})));
  const auto with_metrics = Parse(Build({Name("Plain"), {"COLR", colors}, {"METR", metrics}}));
  ASSERT_TRUE(with_metrics);
  EXPECT_EQ(with_metrics->name, "Plain");
  EXPECT_EQ(with_metrics->button_radius, 5);
  EXPECT_EQ(with_metrics->colors[kSkinCaptionText], 0x302013u);  // red 19, green 0x20, blue 0x30

  struct Case {
    const char* what;
    Bytes image;
  };
  Bytes bad_offset = Build({Name(), {"COLR", colors}});
  PutU32(bad_offset, 20 + 12 + 4, 0xFFFFFFF0u);  // COLR offset far past the end
  Reseal(bad_offset);
  Bytes wrapping = Build({Name(), {"COLR", colors}});
  PutU32(wrapping, 20 + 12 + 8, 0xFFFFFFFFu);  // offset + length wraps around 32 bits
  Reseal(wrapping);
  Bytes into_directory = Build({Name(), {"COLR", colors}});
  PutU32(into_directory, 20 + 4, 4);  // NAME pointing into the header
  Reseal(into_directory);
  Bytes long_length = Build({Name(), {"COLR", colors}});
  PutU32(long_length, 8, static_cast<uint32_t>(long_length.size() + 1));
  Bytes short_length = Build({Name(), {"COLR", colors}});
  PutU32(short_length, 8, 19);
  Bytes no_sections = Build({Name(), {"COLR", colors}});
  PutU16(no_sections, 16, 0);
  Reseal(no_sections);
  Bytes many_sections = Build({Name(), {"COLR", colors}});
  PutU16(many_sections, 16, 65);
  Reseal(many_sections);
  Bytes overcounted_colors = colors;
  PutU16(overcounted_colors, 0, kSkinRoleCount);  // one record more than there are bytes for
  const Case cases[] = {
      {"major version 2", Build({Name(), {"COLR", colors}}, 2)},
      {"major version 0", Build({Name(), {"COLR", colors}}, 0)},
      {"section past the end", bad_offset},
      {"section length wraps", wrapping},
      {"section inside the directory", into_directory},
      {"length beyond the buffer", long_length},
      {"length shorter than the header", short_length},
      {"no sections", no_sections},
      {"more sections than allowed", many_sections},
      {"no name", Build({{"COLR", colors}})},
      {"empty name", Build({Name(""), {"COLR", colors}})},
      {"name too long", Build({Name(std::string(65, 'x')), {"COLR", colors}})},
      {"no colours", Build({Name()})},
      {"two names", Build({Name(), Name(), {"COLR", colors}})},
      {"two colour tables", Build({Name(), {"COLR", colors}, {"COLR", colors}})},
      {"a role missing", Build({Name(), {"COLR", Colors(kSkinRoleCount - 2)}})},
      {"colour count beyond the section", Build({Name(), {"COLR", overcounted_colors}})},
      {"colour table without its count", Build({Name(), {"COLR", Bytes(1, 0)}})},
      {"radius out of range", Build({Name(), {"COLR", colors}, {"METR", Metrics(kSkinButtonRadius, 13)}})},
      {"negative radius", Build({Name(), {"COLR", colors}, {"METR", Metrics(kSkinButtonRadius, -1)}})},
      {"border too wide", Build({Name(), {"COLR", colors}, {"METR", Metrics(kSkinBorderWidth, 4)}})},
      {"metric count beyond the section", Build({Name(), {"COLR", colors}, {"METR", Bytes{2, 0, 1, 0, 3, 0}}})},
      {"wrong magic", [&] { Bytes b = Build({Name(), {"COLR", colors}}); b[1] = 's'; return b; }()},
  };
  for (const Case& c : cases) EXPECT_FALSE(Parse(c.image)) << c.what;

  // What a later minor version may add is skipped.
  Bytes extra_roles = Colors(kSkinRoleCount + 5, 1);
  EXPECT_TRUE(Parse(Build({Name(), {"COLR", extra_roles}, {"TILE", Bytes(9, 7)}})));
  EXPECT_TRUE(Parse(Build({Name(), {"COLR", colors}, {"METR", Metrics(99, -500)}})));
}

TEST(SkinFormat, NullAndEmptyBuffers) {
  EXPECT_FALSE(ParseSkin(nullptr, 0));
  EXPECT_FALSE(ParseSkin(nullptr, 100));
  EXPECT_FALSE(Parse(Bytes{'.', 'S', 'H', 'E'}));
}

// Random damage with the checksum made good again, so it reaches the structure checks; the
// sanitizer build turns any read past the buffer into a failure.
TEST(SkinFormat, RandomDamageNeverReadsPastTheBuffer) {
  std::mt19937 random(20261211);
  const Bytes base = Skin(3);
  for (int round = 0; round < 20000; ++round) {
    Bytes b = base;
    const int changes = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < changes; ++i) {
      const size_t at = random() % b.size();
      switch (random() % 3) {
        case 0: b[at] = static_cast<unsigned char>(random()); break;
        case 1: b.resize(at + 1); break;
        default: b.insert(b.begin() + static_cast<long>(at), static_cast<unsigned char>(random()));
      }
    }
    if (b.size() >= 12 && random() % 2) PutU32(b, 8, static_cast<uint32_t>(b.size()));
    if (b.size() >= 16) Reseal(b);
    const auto skin = Parse(b);
    if (skin) {
      EXPECT_LE(skin->name.size(), 64u);
    }
  }
}

}  // namespace
