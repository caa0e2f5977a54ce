// Find, find from the end, replace and split. Texts are CP936 bytes; two-byte characters are
// written as escapes with the character in a comment. Characters whose second byte is an ASCII
// byte are the ones a byte-wise search gets wrong:
//   乗 81 5C (second byte "\")   亅 81 7C (second byte "|")   乤 81 61 (second byte "a")
//   安 B0 B2, 斡 CE D3, 搿 EB A1: their bytes read from the second one spell 参与 (B2 CE D3 EB)
#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "tests/text/text_reference.h"
#include "text/text.h"

namespace {

const std::string kCheng = "\x81\x5C";   // 乗
const std::string kJue = "\x81\x7C";     // 亅
const std::string kZha = "\x81\x61";     // 乤
const std::string kAnWoGe = "\xB0\xB2\xCE\xD3\xEB\xA1";  // 安斡搿
const std::string kCanYu = "参与";       // B2 CE D3 EB
const std::string kLead = "\xB0";        // a lone lead byte

struct FindCase {
  std::string text, sub;
  int start;
  bool ignoreCase;
  int expected;
};

TEST(TextFind, Table) {
  const FindCase cases[] = {
      {"abcabc", "c", 1, false, 3},
      {"abcabc", "c", 4, false, 6},  // counted from the text's beginning, not from start
      {"abcabc", "c", 0, false, 3},  // a start of 0 or below behaves as 1
      {"abcabc", "c", -9, false, 3},
      {"abcabc", "c", 7, false, -1},
      {"abc", "", 1, false, 1},
      {"abc", "", 3, false, 1},      // 1, not start
      {"abc", "", 4, false, -1},
      {"", "", 1, false, -1},
      {"", "a", 1, false, -1},
      {"ABC", "b", 1, false, -1},
      {"ABC", "b", 1, true, 2},
      {"aaa", "aa", 1, false, 1},
      {"abc", "abcd", 1, false, -1},
      {kCheng + "\\", "\\", 1, false, 3},           // not at 乗's second byte
      {"a" + kCheng + "b\\", "\\", 1, false, 5},
      {kJue + "|", "|", 1, false, 3},
      {kZha, "A", 1, true, -1},
      {kZha, "a", 1, false, -1},
      {kCheng + "\\", "\\", 2, false, 2},           // a start byte is taken as a character start
      {kAnWoGe, kCanYu, 1, false, -1},              // the bytes are there, misaligned
      {"x" + kCanYu, kCanYu, 1, false, 2},
      {"\x81" "A", "\x81" "a", 1, true, 1},         // case folds second bytes too
      {"\x81" "A", "\x81" "a", 1, false, -1},
      {"\xA3\xC1", "\xA3\xE1", 1, true, -1},        // Ａ and ａ: full-width letters do not fold
      {"ab" + kLead, kLead, 1, false, -1},          // an incomplete final character ends the walk
      {"ab" + kLead, "b", 1, false, 2},
      {"中文", "\xD6", 1, false, 1},                // a one-byte sub-text compares at a character start
      {"中文", "\xD0", 1, false, -1},
      {"<td>参与</td>", "参与</", 1, false, 5},
  };
  for (const FindCase& c : cases) {
    EXPECT_EQ(TextFind(c.text, c.sub, c.start, c.ignoreCase), c.expected)
        << "text=" << c.text << " sub=" << c.sub << " start=" << c.start;
  }
}

TEST(TextFind, OmittedArgumentsSearchWholeTextRespectingCase) {
  EXPECT_EQ(TextFind("xAa", "a"), 3);
}

struct FindLastCase {
  std::string text, sub;
  std::optional<int> start;
  bool ignoreCase;
  int expected;
};

TEST(TextFindLast, Table) {
  const FindLastCase cases[] = {
      {"a.b.c", ".", std::nullopt, false, 4},
      {"a.b.c", ".", 4, false, 2},   // the byte at start takes no part
      {"a.b.c", ".", 5, false, 4},
      {"a.b.c", ".", 1, false, -1},
      {"a.b.c", ".", 0, false, -1},
      {"a.b.c", ".", -3, false, -1},
      {"a.b.c", ".", 100, false, 4},
      {"aaa", "aa", std::nullopt, false, 2},  // matches may overlap
      {"abab", "ab", 5, false, 3},
      {"abab", "ab", 4, false, 1},   // the match must end before start
      {"abc", "", std::nullopt, false, 1},
      {"abc", "", 2, false, 1},
      {"abc", "", 1, false, -1},
      {"", "", std::nullopt, false, -1},
      {"", "a", std::nullopt, false, -1},
      {"aXbx", "X", std::nullopt, false, 2},
      {"aXbx", "X", std::nullopt, true, 4},
      {"\\" + kCheng, "\\", std::nullopt, false, 1},
      {"|" + kJue + kJue, "|", std::nullopt, false, 1},
      {"x" + kCanYu + kAnWoGe, kCanYu, std::nullopt, false, 2},
      {"a." + kLead, ".", std::nullopt, false, 2},  // a match before the incomplete end stands
      {"a." + kLead, kLead, std::nullopt, false, -1},
  };
  for (const FindLastCase& c : cases) {
    EXPECT_EQ(TextFindLast(c.text, c.sub, c.start, c.ignoreCase), c.expected)
        << "text=" << c.text << " sub=" << c.sub << " start=" << c.start.value_or(-99);
  }
}

struct ReplaceCase {
  std::string text, sub, replacement;
  int start, count;
  bool respectCase;
  std::string expected;
};

TEST(TextReplace, Table) {
  const ReplaceCase cases[] = {
      {"aXbxc", "x", "-", 1, -1, false, "a-b-c"},  // the flag's default ignores case
      {"aXbxc", "x", "-", 1, -1, true, "aXb-c"},
      {"aXbxc", "x", "-", 1, 1, false, "a-bxc"},
      {"aXbxc", "x", "-", 3, -1, false, "aXb-c"},  // bytes before start are kept as they are
      {"aXbxc", "x", "-", 0, -1, false, "a-b-c"},
      {"aXbxc", "x", "-", -4, -1, false, "a-b-c"},
      {"aXbxc", "x", "-", 1, 0, false, "aXbxc"},
      {"aXbxc", "x", "-", 1, -7, false, "a-b-c"},  // any negative count: no limit
      {"aXbxc", "x", "", 1, -1, false, "abc"},
      {"aXbxc", "x", "-", 6, -1, false, "aXbxc"},  // start beyond the text
      {"", "x", "-", 1, -1, false, ""},
      {"abc", "", "-", 1, -1, false, "abc"},
      {"aaaa", "aa", "-", 1, -1, false, "--"},     // left to right, no overlap
      {"aaa", "a", "aa", 1, -1, false, "aaaaaa"},  // a replacement is not searched again
      {"中文中", "中", "x", 1, -1, false, "x文x"},
      {kCheng + "\\", "\\", "/", 1, -1, false, kCheng + "/"},
      {kZha + "a", "A", "-", 1, -1, false, kZha + "-"},
      {kAnWoGe, kCanYu, "-", 1, -1, false, kAnWoGe},
      {"ab" + kLead, "x", "-", 1, -1, false, "ab"},             // incomplete end dropped...
      {"ab" + kLead, "xy", "-", 1, -1, false, "ab" + kLead},    // ...only a one-byte walk reaches it
      {"xa" + kLead, "x", "-", 1, 1, false, "-a" + kLead},      // count used up: the rest as it is
      {"xa" + kLead, "x", "-", 1, 2, false, "-a"},
  };
  for (const ReplaceCase& c : cases) {
    EXPECT_EQ(TextReplace(c.text, c.sub, c.replacement, c.start, c.count, c.respectCase),
              c.expected)
        << "text=" << c.text << " sub=" << c.sub << " start=" << c.start << " count=" << c.count;
  }
}

TEST(TextReplace, OmittedArgumentsDeleteEveryOccurrenceIgnoringCase) {
  EXPECT_EQ(TextReplace("aXbxc", "x"), "abc");
}

struct SplitCase {
  std::string text, separator;
  std::optional<int> maximum;
  TextArray expected;
};

TEST(TextSplit, Table) {
  const SplitCase cases[] = {
      {"a,,b,", ",", std::nullopt, {"a", "", "b"}},  // no empty last element
      {",", ",", std::nullopt, {""}},
      {",a", ",", std::nullopt, {"", "a"}},
      {"", ",", std::nullopt, {}},
      {"abc", "", std::nullopt, {"abc"}},
      {"abc", ",", std::nullopt, {"abc"}},
      {"ab", "abc", std::nullopt, {"ab"}},
      {"a,b,c", ",", 2, {"a", "b"}},
      {"a,b,c,", ",", 3, {"a", "b", "c"}},
      {"a,b", ",", 5, {"a", "b"}},
      {"a,b,c", ",", 0, {}},
      {"a,b,c", ",", -1, {}},            // a negative maximum counts as 0
      {"aXbxc", "x", std::nullopt, {"aXb", "c"}},  // always respects case
      {kJue + "|x", "|", std::nullopt, {kJue, "x"}},
      {kAnWoGe, kCanYu, std::nullopt, {kAnWoGe}},
      {"a<b>参与</td>c<d>参与</td>", ">参与</", std::nullopt, {"a<b", "td>c<d", "td>"}},
      {"a," + kLead, ",", std::nullopt, {"a", kLead}},
  };
  for (const SplitCase& c : cases) {
    EXPECT_EQ(TextSplit(c.text, c.separator, c.maximum), c.expected)
        << "text=" << c.text << " separator=" << c.separator;
  }
}

TEST(TextSplit, OmittedSeparatorIsComma) {
  EXPECT_EQ(TextSplit("1,2"), (TextArray{"1", "2"}));
}

// The fast searches against the plain walk on random texts built from bytes that stress the
// walk: letters of both cases, separators, lead bytes and second bytes that look like ASCII.
TEST(TextSearch, AgreesWithPlainWalk) {
  const unsigned char alphabet[] = {'a', 'A', 'b', ',', '\\', 0x81, 0xB0, 0xA1, 0x5C, 0x61};
  std::mt19937 rng(20261211);
  auto randomText = [&](size_t maxLength) {
    std::string s(std::uniform_int_distribution<size_t>(0, maxLength)(rng), ' ');
    for (char& c : s) c = static_cast<char>(alphabet[rng() % sizeof alphabet]);
    return s;
  };
  for (int round = 0; round < 20000; ++round) {
    const std::string text = randomText(16);
    std::string sub = randomText(3);
    if (rng() % 2 && !text.empty()) {  // often a piece of the text itself, aligned or not
      const size_t at = rng() % text.size();
      sub = text.substr(at, 1 + rng() % 3);
    }
    const int start = static_cast<int>(rng() % 20) - 2;
    const int count = static_cast<int>(rng() % 4) - 1;
    const bool flag = rng() % 2;
    const std::optional<int> maybeStart = rng() % 3 ? std::optional<int>(start) : std::nullopt;
    SCOPED_TRACE("text=" + text + " sub=" + sub + " start=" + std::to_string(start));
    ASSERT_EQ(TextFind(text, sub, start, flag), reference::Find(text, sub, start, flag));
    ASSERT_EQ(TextFindLast(text, sub, maybeStart, flag),
              reference::FindLast(text, sub, maybeStart, flag));
    ASSERT_EQ(TextReplace(text, sub, "<>", start, count, flag),
              reference::Replace(text, sub, "<>", start, count, flag));
    const std::optional<int> maximum = rng() % 2 ? std::optional<int>(count + 1) : std::nullopt;
    ASSERT_EQ(TextSplit(text, sub, maximum), reference::Split(text, sub, maximum));
  }
}

}  // namespace
