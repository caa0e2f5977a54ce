// Slicing, case, blanks, numbers, byte buffers and text arrays. Texts are CP936 bytes; the
// full-width space is A1 A1 and the full-width digits are A3 B0 to A3 B9.
#include <gtest/gtest.h>

#include <climits>

#include "text/text.h"

namespace {

const std::string kFullSpace = "\xA1\xA1";  // 　
const std::string kLead = "\xB0";           // a lone lead byte: an incomplete final character

TEST(TextSlice, LengthCountsBytes) {
  EXPECT_EQ(TextLength(""), 0);
  EXPECT_EQ(TextLength("a中"), 3);
}

struct SliceCase {
  const char* name;
  std::string actual, expected;
};

TEST(TextSlice, Table) {
  const SliceCase cases[] = {
      {"left 2", TextLeft("abc", 2), "ab"},
      {"left past the end", TextLeft("abc", 5), "abc"},
      {"left 0", TextLeft("abc", 0), ""},
      {"left -1", TextLeft("abc", -1), ""},
      {"left halves a character", TextLeft("中", 1), "\xD6"},
      {"right 2", TextRight("abc", 2), "bc"},
      {"right past the start", TextRight("abc", 5), "abc"},
      {"right 0", TextRight("abc", 0), ""},
      {"right -3", TextRight("abc", -3), ""},
      {"mid 2 for 1", TextMid("abc", 2, 1), "b"},
      {"mid 2 for 5", TextMid("abc", 2, 5), "bc"},
      {"mid from 0", TextMid("abc", 0, 2), ""},  // 0 is not taken as 1
      {"mid from -1", TextMid("abc", -1, 2), ""},
      {"mid from the last byte", TextMid("abc", 3, 1), "c"},
      {"mid beyond the end", TextMid("abc", 4, 1), ""},
      {"mid for 0", TextMid("abc", 1, 0), ""},
      {"mid for -1", TextMid("abc", 1, -1), ""},
      {"mid of empty", TextMid("", 1, 1), ""},
  };
  for (const SliceCase& c : cases) EXPECT_EQ(c.actual, c.expected) << c.name;
}

struct TextCase {
  std::string input, expected;
};

TEST(TextLower, Table) {
  const TextCase cases[] = {
      {"AbC-Z@[`{", "abc-z@[`{"},
      {"中A文", "中a文"},
      {"\x81" "A", "\x81" "A"},  // 丄: a second byte in "A".."Z" stays
      {"\xA3\xC1", "\xA3\xC1"},  // Ａ: full-width letters stay
      {"A" + kLead, "a" + kLead},  // an incomplete final character stays
      {"", ""},
  };
  for (const TextCase& c : cases) EXPECT_EQ(TextLower(c.input), c.expected) << c.input;
}

TEST(TextTrim, Table) {
  const TextCase cases[] = {
      {" " + kFullSpace + "  a " + kFullSpace + " b" + kFullSpace + " " + kFullSpace,
       "a " + kFullSpace + " b"},
      {"\ta ", "\ta"},          // a tab is not a blank
      {" a\r\n", "a\r\n"},
      {"   ", ""},
      {kFullSpace + kFullSpace, ""},
      {"", ""},
      {"中 ", "中"},
      {"\x81 ", "\x81 "},       // 0x81 0x20 is one character, not a blank
      {" a " + kLead, "a "},    // cut before the incomplete end, blanks in front of it stay
      {"  " + kLead, ""},
      {"\xA1", ""},             // half a full-width space is an incomplete character
  };
  for (const TextCase& c : cases) EXPECT_EQ(TextTrim(c.input), c.expected) << c.input;
}

TEST(TextRemoveSpaces, Table) {
  const TextCase cases[] = {
      {" a" + kFullSpace + "b c ", "abc"},
      {"a\tb\r\n", "a\tb\r\n"},
      {"中 文", "中文"},
      {"\x81 x", "\x81 x"},     // the space is a second byte here
      {"a " + kLead, "a"},      // an incomplete final character is dropped
      {"", ""},
  };
  for (const TextCase& c : cases) EXPECT_EQ(TextRemoveSpaces(c.input), c.expected) << c.input;
}

struct IntCase {
  std::string input;
  int32_t expected;
};

TEST(TextToInt, Table) {
  const IntCase cases[] = {
      {"\xA3\xB1\xA3\xB0", 10},   // １０
      {" 12中", 12},
      {"-7x", -7},
      {"+5", 5},
      {"abc", 0},
      {"", 0},
      {"\t\n\v\f\r 8", 8},
      {kFullSpace + "7", 7},      // the full-width space is white space after conversion
      {"\xA3\xAD\xA3\xB3", -3},   // －３
      {"\xA3\xAB" "4", 4},        // ＋4
      {"- 5", 0},
      {"--5", 0},
      {"1 2", 1},
      {"12" + kLead, 12},
      {kLead, 0},
      {"中12", 0},
      {"\x81\x31", 0},            // a second byte that looks like a digit is not one
      {"4294967297", 1},          // 2^32 + 1: wraps, no saturation
      {"2147483648", INT_MIN},    // 2^31
      {"2147483647", INT_MAX},
      {"4294967295", -1},
      {"-2147483648", INT_MIN},
      {"-2147483649", INT_MAX},
      {"99999999999", 1215752191},
      {"007", 7},
  };
  for (const IntCase& c : cases) EXPECT_EQ(TextToInt(c.input), c.expected) << c.input;
}

TEST(IntToText, Table) {
  EXPECT_EQ(IntToText(0), "0");
  EXPECT_EQ(IntToText(42), "42");
  EXPECT_EQ(IntToText(-5), "-5");
  EXPECT_EQ(IntToText(INT_MAX), "2147483647");
  EXPECT_EQ(IntToText(INT_MIN), "-2147483648");
}

TEST(TextChar, OneByteAndNeverZero) {
  EXPECT_EQ(TextChar('A'), "A");
  EXPECT_EQ(TextChar(0xB0), "\xB0");
  EXPECT_EQ(TextChar(0), "");
}

TEST(Spaces, Table) {
  EXPECT_EQ(Spaces(3), "   ");
  EXPECT_EQ(Spaces(0), "");
  EXPECT_EQ(Spaces(-2), "");
}

TEST(Bytes, TextToBytesHasNoTerminator) {
  EXPECT_EQ(TextToBytes("a中"), (Bytes{0x61, 0xD6, 0xD0}));
  EXPECT_EQ(TextToBytes(""), Bytes());
}

TEST(Bytes, BytesToTextStopsAtTheFirstZeroByte) {
  EXPECT_EQ(BytesToText(Bytes{0x61, 0x00, 0x62}), "a");
  EXPECT_EQ(BytesToText(Bytes{0x00, 0x62}), "");
  EXPECT_EQ(BytesToText(Bytes{0xD6, 0xD0}), "中");
  EXPECT_EQ(BytesToText(Bytes()), "");
  const uint8_t raw[] = {'x', 'y', 0, 'z'};
  EXPECT_EQ(BytesToText(raw, 2), "xy");
  EXPECT_EQ(BytesToText(raw, sizeof raw), "xy");
}

TEST(Bytes, ZeroBytes) {
  EXPECT_EQ(ZeroBytes(3), (Bytes{0, 0, 0}));
  EXPECT_EQ(ZeroBytes(0), Bytes());
  EXPECT_EQ(ZeroBytes(-1), Bytes());
}

TEST(Bytes, BytesLeftClampsItsCount) {
  const Bytes b{1, 0, 3};
  EXPECT_EQ(BytesLeft(b, 2), (Bytes{1, 0}));
  EXPECT_EQ(BytesLeft(b, 9), b);
  EXPECT_EQ(BytesLeft(b, -1), Bytes());
  EXPECT_EQ(BytesLeft(Bytes(), 2), Bytes());
}

TEST(Bytes, LengthAndJoin) {
  EXPECT_EQ(ByteLength(Bytes{0, 0}), 2);
  EXPECT_EQ(ByteLength(Bytes()), 0);
  EXPECT_EQ(JoinBytes(Bytes{1, 0}, Bytes{0, 2}), (Bytes{1, 0, 0, 2}));
  EXPECT_EQ(JoinBytes(Bytes(), Bytes()), Bytes());
}

TEST(TextArray, ElementsAreOneBased) {
  TextArray a;
  EXPECT_EQ(Count(a), 0);
  Append(a, "x");
  Append(a, "");
  EXPECT_EQ(Count(a), 2);
  EXPECT_EQ(Element(a, 1), "x");
  EXPECT_EQ(Element(a, 2), "");
}

#ifndef _WIN32
// On Windows the fault shows a modal box; its tests live with the fault box.
TEST(TextArrayDeathTest, ReadingOutsideTheArrayEndsTheProgram) {
  const TextArray a{"x"};
  EXPECT_EXIT(Element(a, 0), testing::ExitedWithCode(255), "运行时出错");
  EXPECT_EXIT(Element(a, 2), testing::ExitedWithCode(255), "文本数组下标超出范围");
}
#endif

}  // namespace
