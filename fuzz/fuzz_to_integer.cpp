// To integer against the rule read literally (full-width forms made one-byte first, blanks,
// one sign, digits accumulated modulo 2^32), and the decimal text of any integer read back.
// Input: the text itself.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_input.h"
#include "text/text.h"

namespace {

std::string OneByteForms(const std::string& t) {
  std::string out;
  for (size_t i = 0; i < t.size();) {
    const unsigned char c = static_cast<unsigned char>(t[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    if (i + 1 == t.size()) break;  // an incomplete final character is dropped
    const unsigned char c2 = static_cast<unsigned char>(t[i + 1]);
    if (c == 0xA3 && c2 >= 0xA1 && c2 <= 0xFE) {
      out += static_cast<char>(c2 - 0x80);
    } else if (c == 0xA1 && c2 == 0xA1) {
      out += ' ';
    } else if (c == 0xA1 && c2 == 0xAB) {
      out += '~';
    } else if (c == 0xA1 && (c2 == 0xEE || c2 == 0xEF)) {
      out += '*';
    } else {
      out.append(t, i, 2);
    }
    i += 2;
  }
  return out;
}

int32_t Reference(const std::string& text) {
  const std::string t = OneByteForms(text);
  size_t i = 0;
  while (i < t.size() && (t[i] == ' ' || t[i] == '\t' || t[i] == '\n' || t[i] == '\v' ||
                          t[i] == '\f' || t[i] == '\r'))
    ++i;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  uint64_t value = 0;
  for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i)
    value = (value * 10 + static_cast<uint64_t>(t[i] - '0')) % (uint64_t{1} << 32);
  if (negative) value = ((uint64_t{1} << 32) - value) % (uint64_t{1} << 32);
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const FuzzFields in(data, size);
  const std::string& text = in[0];
  const int32_t value = TextToInt(text);
  FUZZ_CHECK(value == Reference(text));
  FUZZ_CHECK(TextToInt(IntToText(value)) == value);
  return 0;
}
