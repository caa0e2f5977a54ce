#include "tests/text/text_reference.h"

#include <cstdint>

namespace reference {
namespace {

unsigned char Byte(const std::string& s, int64_t i) { return static_cast<unsigned char>(s[static_cast<size_t>(i)]); }

unsigned char Fold(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 0x20 : c; }

bool MatchesAt(const std::string& text, int64_t i, const std::string& sub, bool ignoreCase) {
  for (size_t k = 0; k < sub.size(); ++k) {
    unsigned char a = Byte(text, i + static_cast<int64_t>(k)), b = static_cast<unsigned char>(sub[k]);
    if (ignoreCase ? Fold(a) != Fold(b) : a != b) return false;
  }
  return true;
}

bool IncompleteAt(const std::string& text, int64_t i) {
  return Byte(text, i) >= 0x80 && i + 1 == static_cast<int64_t>(text.size());
}

int64_t Step(const std::string& text, int64_t i) { return Byte(text, i) >= 0x80 ? 2 : 1; }

}  // namespace

int Find(const std::string& text, const std::string& sub, std::optional<int> start,
         bool ignoreCase) {
  const int64_t L = static_cast<int64_t>(text.size()), M = static_cast<int64_t>(sub.size());
  int64_t s = start ? static_cast<int64_t>(*start) - 1 : 0;
  if (s < 0) s = 0;
  if (s > 0 && s >= L) return -1;
  if (M == 0) return s < L ? 1 : -1;
  for (int64_t i = s; i + M <= L; i += Step(text, i)) {
    if (IncompleteAt(text, i)) return -1;
    if (MatchesAt(text, i, sub, ignoreCase)) return static_cast<int>(i + 1);
  }
  return -1;
}

int FindLast(const std::string& text, const std::string& sub, std::optional<int> start,
             bool ignoreCase) {
  const int64_t L = static_cast<int64_t>(text.size()), M = static_cast<int64_t>(sub.size());
  int64_t e = L;
  if (start) {
    e = static_cast<int64_t>(*start) - 1;
    if (e <= 0) return -1;
    if (e > L) e = L;
  }
  if (M == 0) return e > 0 ? 1 : -1;
  int result = -1;
  for (int64_t i = 0; i + M <= e; i += Step(text, i)) {
    if (IncompleteAt(text, i)) break;
    if (MatchesAt(text, i, sub, ignoreCase)) result = static_cast<int>(i + 1);
  }
  return result;
}

std::string Replace(const std::string& text, const std::string& sub,
                    const std::string& replacement, int start, int count, bool respectCase) {
  const int64_t L = static_cast<int64_t>(text.size()), M = static_cast<int64_t>(sub.size());
  int64_t s = static_cast<int64_t>(start) - 1;
  if (s < 0) s = 0;
  if (L == 0 || M == 0 || s >= L || count == 0) return text;
  std::string out = text.substr(0, static_cast<size_t>(s));
  int64_t i = s;
  int done = 0;
  while (i + M <= L) {
    if (IncompleteAt(text, i)) {
      return out;  // dropped, and nothing remains after it
    } else if (MatchesAt(text, i, sub, !respectCase)) {
      out += replacement;
      i += M;
      if (++done == count) break;
    } else {
      const int64_t n = Step(text, i);
      out.append(text, static_cast<size_t>(i), static_cast<size_t>(n));
      i += n;
    }
  }
  if (i < L) out.append(text, static_cast<size_t>(i), std::string::npos);
  return out;
}

TextArray Split(const std::string& text, const std::string& separator,
                std::optional<int> maximum) {
  TextArray out;
  const int64_t L = static_cast<int64_t>(text.size()), M = static_cast<int64_t>(separator.size());
  if (L == 0 || (maximum && *maximum <= 0)) return out;
  if (M == 0) return {text};
  int64_t piece = 0, i = 0;
  while (i + M <= L && !IncompleteAt(text, i)) {
    if (MatchesAt(text, i, separator, false)) {
      out.push_back(text.substr(static_cast<size_t>(piece), static_cast<size_t>(i - piece)));
      if (maximum && static_cast<int64_t>(out.size()) == *maximum) return out;
      i += M;
      piece = i;
    } else {
      i += Step(text, i);
    }
  }
  if (piece < L) out.push_back(text.substr(static_cast<size_t>(piece)));
  return out;
}

}  // namespace reference
