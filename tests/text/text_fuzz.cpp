// libFuzzer target: the fast searches against the plain character walk, TextBetween against
// its definition over the plain walk, and the conversion for crashes and zero bytes.
// Input: one byte of options, then text and sub-text separated by the first 0xFF byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tests/text/text_reference.h"
#include "text/codepage.h"
#include "text/text.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t options = data[0];
  std::string input(reinterpret_cast<const char*>(data + 1), size - 1);
  input = BytesToText(TextToBytes(input));  // a text holds no zero byte
  const size_t cut = input.find('\xFF');
  const std::string text = input.substr(0, cut);
  const std::string sub = cut == std::string::npos ? std::string() : input.substr(cut + 1);
  const bool flag = options & 1;
  const int start = static_cast<int>((options >> 1) & 0x1F) - 4;
  const int count = static_cast<int>(options >> 6) - 1;
  const std::optional<int> maybeStart = (options & 0x40) ? std::optional<int>(start) : std::nullopt;

  Check(TextFind(text, sub, start, flag) == reference::Find(text, sub, start, flag));
  Check(TextFindLast(text, sub, maybeStart, flag) == reference::FindLast(text, sub, maybeStart, flag));
  Check(TextReplace(text, sub, "#", start, count, flag) ==
        reference::Replace(text, sub, "#", start, count, flag));
  const std::optional<int> maximum = (options & 0x80) ? std::optional<int>(count + 1) : std::nullopt;
  Check(TextSplit(text, sub, maximum) == reference::Split(text, sub, maximum));

  // TextBetween with the sub-text's halves as markers, against the rule written out.
  const std::string left = sub.substr(0, sub.size() / 2), right = sub.substr(sub.size() / 2);
  const std::string l = reference::Replace(left, "#引号", "\"", 1, -1, true);
  const std::string r = reference::Replace(right, "#引号", "\"", 1, -1, true);
  int a = reference::Find(text, l, start, flag);
  std::string expected;
  if (a != -1) {
    a += static_cast<int>(l.size());
    const int b = reference::Find(text, r, a, flag);
    if (b != -1) expected = TextMid(text, a, b - a);
  }
  Check(TextBetween(text, left, right, start, flag) == expected);

  for (const std::string& s : {Utf8ToAnsi(text), TextTrim(text), TextLower(text), TextRemoveSpaces(text)}) {
    Check(s.find('\0') == std::string::npos);
  }
  TextToInt(text);
  return 0;
}
