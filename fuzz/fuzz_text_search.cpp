// The fast searches (memchr/memmem-based find, find from the end, replace, split) against the
// plain character walk written from the rules, and trim, remove spaces, lower case and the
// conversion against the rules or for what a text must never hold.
// Fields: options (4 bytes), text, sub-text, replacement.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "tests/text/text_reference.h"
#include "text/codepage.h"
#include "text/text.h"

namespace {

bool Lead(const std::string& s, size_t i) { return static_cast<unsigned char>(s[i]) >= 0x80; }

bool FullWidthSpace(const std::string& s, size_t i) {
  return i + 1 < s.size() && static_cast<unsigned char>(s[i]) == 0xA1 &&
         static_cast<unsigned char>(s[i + 1]) == 0xA1;
}

// Trim as the rule reads: cut an incomplete final character with the blanks left before it,
// else strip blanks (space, full-width space) from both ends, walking by characters.
std::string TrimReference(const std::string& t) {
  std::vector<std::pair<size_t, size_t>> chars;  // start, length
  size_t i = 0;
  bool incomplete = false;
  while (i < t.size()) {
    if (Lead(t, i)) {
      if (i + 1 == t.size()) {
        incomplete = true;
        break;
      }
      chars.push_back({i, 2});
      i += 2;
    } else {
      chars.push_back({i, 1});
      i += 1;
    }
  }
  auto blank = [&](const std::pair<size_t, size_t>& c) {
    return (c.second == 1 && t[c.first] == ' ') || (c.second == 2 && FullWidthSpace(t, c.first));
  };
  size_t b = 0;
  while (b < chars.size() && blank(chars[b])) ++b;
  if (incomplete) {
    const size_t from = b < chars.size() ? chars[b].first : t.size() - 1;
    return t.substr(from, t.size() - 1 - from);
  }
  size_t e = chars.size();
  while (e > b && blank(chars[e - 1])) --e;
  if (b == e) return std::string();
  return t.substr(chars[b].first, chars[e - 1].first + chars[e - 1].second - chars[b].first);
}

std::string RemoveSpacesReference(const std::string& t) {
  std::string out;
  for (size_t i = 0; i < t.size();) {
    if (Lead(t, i)) {
      if (i + 1 == t.size()) break;  // an incomplete final character is dropped
      if (!FullWidthSpace(t, i)) out.append(t, i, 2);
      i += 2;
    } else {
      if (t[i] != ' ') out += t[i];
      ++i;
    }
  }
  return out;
}

std::string LowerReference(const std::string& t) {
  std::string out = t;
  for (size_t i = 0; i < out.size();) {
    if (Lead(out, i)) {
      i += 2;
    } else {
      if (out[i] >= 'A' && out[i] <= 'Z') out[i] = static_cast<char>(out[i] + 0x20);
      ++i;
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const FuzzFields in(data, size);
  std::string options = in[0];
  options.resize(4, '\x01');
  const unsigned char flags = static_cast<unsigned char>(options[0]);
  const bool ignoreCase = flags & 1;
  const bool respectCase = flags & 4;
  const int start = FuzzInt(static_cast<unsigned char>(options[1]));
  const std::optional<int> lastStart = (flags & 2) ? std::optional<int>(start) : std::nullopt;
  const int count = FuzzInt(static_cast<unsigned char>(options[2]));
  const std::optional<int> maximum =
      (flags & 8) ? std::optional<int>(FuzzInt(static_cast<unsigned char>(options[3]))) : std::nullopt;
  const std::string& text = in[1];
  const std::string& sub = in[2];
  const std::string& replacement = in[3];

  FUZZ_CHECK(TextFind(text, sub, start, ignoreCase) == reference::Find(text, sub, start, ignoreCase));
  FUZZ_CHECK(TextFind(text, sub) == reference::Find(text, sub, std::nullopt, false));
  FUZZ_CHECK(TextFindLast(text, sub, lastStart, ignoreCase) ==
             reference::FindLast(text, sub, lastStart, ignoreCase));
  FUZZ_CHECK(TextReplace(text, sub, replacement, start, count, respectCase) ==
             reference::Replace(text, sub, replacement, start, count, respectCase));
  FUZZ_CHECK(TextSplit(text, sub, maximum) == reference::Split(text, sub, maximum));

  FUZZ_CHECK(TextTrim(text) == TrimReference(text));
  FUZZ_CHECK(TextRemoveSpaces(text) == RemoveSpacesReference(text));
  FUZZ_CHECK(TextLower(text) == LowerReference(text));

  // Whatever bytes a page holds, its conversion is a text: no zero byte, and ASCII passes.
  const std::string converted = Utf8ToAnsi(text);
  FUZZ_CHECK(converted.find('\0') == std::string::npos);
  bool ascii = true;
  for (char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) FUZZ_CHECK(converted == text);
  return 0;
}
