// Find, find from the end, replace and split: the operations that walk a text by characters
// looking for a sub-text.
#include <algorithm>
#include <cstdint>

#include "text/text.h"
#include "text/text_walk.h"

using text_walk::kNone;

namespace {

const unsigned char* Data(const std::string& s) {
  return reinterpret_cast<const unsigned char*>(s.data());
}

// The 0-based byte a 1-based start position stands for; 0 and below behave as 1.
size_t StartByte(int start) {
  return start > 1 ? static_cast<size_t>(start) - 1 : 0;
}

}  // namespace

int TextFind(const std::string& text, const std::string& sub, int start, bool ignoreCase) {
  const size_t L = text.size();
  const size_t s = StartByte(start);
  if (s > 0 && s >= L) return -1;  // also for an empty sub-text
  if (sub.empty()) return s < L ? 1 : -1;  // 1, not start: the result counts from the text's beginning
  const size_t p =
      text_walk::FindFrom(Data(text), L, s, Data(sub), sub.size(), ignoreCase);
  return p == kNone ? -1 : static_cast<int>(p + 1);
}

int TextFindLast(const std::string& text, const std::string& sub, std::optional<int> start,
                 bool ignoreCase) {
  const size_t L = text.size();
  size_t e = L;  // matches must end within the first e bytes
  if (start) {
    const int64_t limit = static_cast<int64_t>(*start) - 1;
    if (limit <= 0) return -1;
    e = std::min(static_cast<size_t>(limit), L);
  }
  if (sub.empty()) return e > 0 ? 1 : -1;
  const size_t M = sub.size();
  const unsigned char* d = Data(text);
  int result = -1;
  // The walk goes forward from the first byte, keeping the last match; matches may overlap.
  size_t from = 0;
  for (;;) {
    const size_t p = text_walk::FindFrom(d, L, from, Data(sub), M, ignoreCase);
    if (p == kNone || p + M > e) break;
    result = static_cast<int>(p + 1);
    from = p + (text_walk::IsLead(d[p]) ? 2 : 1);
  }
  return result;
}

std::string TextReplace(const std::string& text, const std::string& sub,
                        const std::string& replacement, int start, int count, bool respectCase) {
  const size_t L = text.size();
  const size_t s = StartByte(start);
  if (L == 0 || sub.empty() || s >= L || count == 0) return text;
  const size_t M = sub.size();
  const unsigned char* d = Data(text);
  std::string out;
  out.reserve(L);
  out.append(text, 0, s);
  size_t i = s;
  int done = 0;
  for (;;) {
    const size_t p = text_walk::FindFrom(d, L, i, Data(sub), M, !respectCase);
    if (p == kNone) break;
    out.append(text, i, p - i);
    out += replacement;
    i = p + M;  // a replacement is never searched again
    if (++done == count) {
      out.append(text, i, std::string::npos);
      return out;
    }
  }
  // With a one-byte sub-text the walk reaches the last byte; a lone lead byte there is an
  // incomplete character, which the walk drops.
  if (M == 1 && i < L && text_walk::IsLead(d[L - 1]) && text_walk::StartsCharacter(d, i, L - 1)) {
    out.append(text, i, L - 1 - i);
  } else {
    out.append(text, i, std::string::npos);
  }
  return out;
}

TextArray TextSplit(const std::string& text, const std::string& separator,
                    std::optional<int> maximum) {
  TextArray parts;
  if (text.empty() || (maximum && *maximum <= 0)) return parts;
  if (separator.empty()) {
    parts.push_back(text);
    return parts;
  }
  const size_t L = text.size();
  const size_t M = separator.size();
  const unsigned char* d = Data(text);
  size_t piece = 0;
  for (;;) {
    const size_t p = text_walk::FindFrom(d, L, piece, Data(separator), M, false);
    if (p == kNone) break;
    parts.emplace_back(text, piece, p - piece);
    if (maximum && static_cast<int64_t>(parts.size()) == *maximum) return parts;
    piece = p + M;
  }
  // A trailing separator leaves no empty last element.
  if (piece < L) parts.emplace_back(text, piece, std::string::npos);
  return parts;
}
