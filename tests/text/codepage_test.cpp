// The code-page conversion. Natively it runs on our UTF-8 codec and iconv; on Windows (and
// under Wine) on the system's functions reached through the external-function table. The same
// expectations hold for both.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>

#include "app/dll_table.h"
#endif

#include <initializer_list>

#include "text/codepage.h"

namespace {

// UTF-16LE bytes of the given units.
Bytes Units(std::initializer_list<uint16_t> units) {
  Bytes out;
  for (uint16_t u : units) {
    out.push_back(static_cast<uint8_t>(u & 0xFF));
    out.push_back(static_cast<uint8_t>(u >> 8));
  }
  return out;
}

bool AnsiCodePageIs936() {
#ifdef _WIN32
  return GetACP() == 936;
#else
  return true;  // no ANSI code page here: 0 means 936
#endif
}

struct ConvertCase {
  const char* name;
  std::string utf8, expected;
};

TEST(Utf8ToAnsi, Table) {
  const ConvertCase cases[] = {
      {"Chinese", "\xE4\xB8\xAD\xE6\x96\x87", "\xD6\xD0\xCE\xC4"},  // 中文
      {"ASCII", "abc <a href=\"/t/1.html\">\r\n", "abc <a href=\"/t/1.html\">\r\n"},
      {"empty", "", ""},
      {"Thai letter", "\xE0\xB8\x81", "?"},                           // ก: not in code page 936
      {"Thai between", "a\xE0\xB8\x81" "b", "a?b"},
      {"euro sign", "\xE2\x82\xAC", "\x80"},
      {"full-width one", "\xEF\xBC\x91", "\xA3\xB1"},
      {"ideographic space", "\xE3\x80\x80", "\xA1\xA1"},
      {"middle dot", "\xC2\xB7", "\xA1\xA4"},
      {"GBK extension", "\xE4\xB9\x97", "\x81\x5C"},                // 乗
      {"outside the BMP", "\xF0\x9F\x98\x80", "??"},                  // each half of the pair
      {"bad byte", "a\xFF" "b", "a?b"},
      {"cut sequence", "\xE4\xB8" "x", "?x"},
      {"sequence cut at the end", "x\xE4\xB8", "x?"},
      {"lone continuation", "\x80" "a", "?a"},
  };
  for (const ConvertCase& c : cases) EXPECT_EQ(Utf8ToAnsi(c.utf8), c.expected) << c.name;
}

TEST(Utf8ToAnsi, IllFormedInputDoesNotStopTheConversion) {
  // How many "?" an ill-formed sequence gives is the platform's choice; the text goes on.
  for (const std::string bad : {"\xED\xA0\x80", "\xC0\xAF", "\xF4\x90\x80\x80", "\xFE\xFF"}) {
    const std::string out = Utf8ToAnsi("<" + bad + ">");
    ASSERT_GE(out.size(), 3u);
    EXPECT_EQ(out.front(), '<');
    EXPECT_EQ(out.back(), '>');
    EXPECT_EQ(out.find_first_not_of('?', 1), out.size() - 1) << out;
  }
}

TEST(Utf8ToAnsi, PageBodyEndsAtItsFirstZeroByte) {
  const Bytes body{'a', 0xE4, 0xB8, 0xAD, 0x00, 'b'};
  EXPECT_EQ(Utf8ToAnsi(BytesToText(body)), "a\xD6\xD0");
  EXPECT_EQ(Utf8ToAnsi(std::string("a\0b", 3)), "a");
}

TEST(Utf8ToAnsi, EveryCommonHanziSurvivesTheRoundTrip) {
  // The 3,755 level-one hanzi of code page 936 (rows B0 to D7), to UTF-8 and back.
  std::string hanzi;
  for (int lead = 0xB0; lead <= 0xD7; ++lead) {
    for (int trail = 0xA1; trail <= (lead == 0xD7 ? 0xF9 : 0xFE); ++trail) {
      hanzi += static_cast<char>(lead);
      hanzi += static_cast<char>(trail);
    }
  }
  const std::string utf8 = UnicodeToMultiByte(MultiByteToUnicode(hanzi, 936), 65001);
  EXPECT_EQ(utf8.size(), 3755u * 3);
  EXPECT_EQ(Utf8ToAnsi(utf8), hanzi);
}

TEST(MultiByteToUnicode, UnitsAndTerminator) {
  EXPECT_EQ(MultiByteToUnicode(""), Units({0}));
  EXPECT_EQ(MultiByteToUnicode("A\xE4\xB8\xAD"), Units({0x41, 0x4E2D, 0}));
  EXPECT_EQ(MultiByteToUnicode("\xF0\x9F\x98\x80"), Units({0xD83D, 0xDE00, 0}));
  EXPECT_EQ(MultiByteToUnicode("\xD6\xD0" "a", 936), Units({0x4E2D, 0x61, 0}));
  EXPECT_EQ(MultiByteToUnicode(std::string("a\0b", 3)), Units({0x61, 0}));
}

TEST(UnicodeToMultiByte, StopsAtTheFirstZeroUnit) {
  EXPECT_EQ(UnicodeToMultiByte(Bytes(), 936), "");
  EXPECT_EQ(UnicodeToMultiByte(Units({0}), 936), "");
  EXPECT_EQ(UnicodeToMultiByte(Units({0x4E2D, 0, 0x41}), 936), "\xD6\xD0");
}

TEST(UnicodeToMultiByte, BufferWithoutTerminatorIsReadToItsEnd) {
  EXPECT_EQ(UnicodeToMultiByte(Units({0x4E2D, 0x41}), 936), "\xD6\xD0" "A");
  EXPECT_EQ(UnicodeToMultiByte(Bytes{0x41, 0x00, 0x42}, 936), "A");  // half a unit is no unit
}

TEST(UnicodeToMultiByte, Utf8NeedsMoreRoomThanTheAnsiMeasure) {
  // Four Thai letters measure 5 bytes in code page 936 ("????" and the terminator) but take
  // 12 bytes in UTF-8: the text must still come out whole.
  const std::string thai = "\xE0\xB8\x81\xE0\xB8\x82\xE0\xB8\x83\xE0\xB8\x84";
  EXPECT_EQ(UnicodeToMultiByte(MultiByteToUnicode(thai), 65001), thai);
}

TEST(UnicodeToMultiByte, CodePageZeroIsTheAnsiCodePage) {
  if (!AnsiCodePageIs936()) GTEST_SKIP() << "the ANSI code page here is not 936";
  EXPECT_EQ(UnicodeToMultiByte(Units({0x4E2D, 0x6587, 0})), "\xD6\xD0\xCE\xC4");
  EXPECT_EQ(MultiByteToUnicode("\xD6\xD0", 0), Units({0x4E2D, 0}));
}

#ifdef _WIN32
TEST(Codepage, BindsThroughTheExternalFunctionTable) {
  Utf8ToAnsi("x");
  const ExternalEntry* table = ExternalTable();
  EXPECT_NE(table[kMultiByteToWideChar].proc, nullptr);
  EXPECT_NE(table[kMultiByteToWideChar].module, nullptr);
  EXPECT_NE(table[kWideCharToMultiByte].proc, nullptr);
  EXPECT_EQ(reinterpret_cast<void*>(table[kWideCharToMultiByte].proc),
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"),
                                                   "WideCharToMultiByte")));
}
#endif

}  // namespace
