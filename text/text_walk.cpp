#include "text/text_walk.h"

#include <cstring>

namespace text_walk {
namespace {

// The first p >= from with p + m <= n whose bytes equal `sub` exactly, ignoring characters.
size_t RawFindExact(const unsigned char* data, size_t n, size_t from, const unsigned char* sub,
                    size_t m) {
  if (from > n || n - from < m) return kNone;
  const unsigned char first = sub[0];
  const unsigned char last = sub[m - 1];
  const unsigned char* p = data + from;
  const unsigned char* const stop = data + (n - m);  // last possible start
  while (p <= stop) {
    p = static_cast<const unsigned char*>(std::memchr(p, first, static_cast<size_t>(stop - p) + 1));
    if (!p) return kNone;
    // The last byte is a cheap second filter before the full compare.
    if (p[m - 1] == last && std::memcmp(p + 1, sub + 1, m - 1) == 0) {
      return static_cast<size_t>(p - data);
    }
    ++p;
  }
  return kNone;
}

bool EqualFolded(const unsigned char* a, const unsigned char* b, size_t m) {
  for (size_t i = 0; i < m; ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

size_t RawFindFolded(const unsigned char* data, size_t n, size_t from, const unsigned char* sub,
                     size_t m) {
  if (from > n || n - from < m) return kNone;
  const unsigned char first = FoldCase(sub[0]);
  const size_t stop = n - m;
  for (size_t p = from; p <= stop; ++p) {
    if (FoldCase(data[p]) == first && EqualFolded(data + p + 1, sub + 1, m - 1)) return p;
  }
  return kNone;
}

}  // namespace

bool StartsCharacter(const unsigned char* data, size_t from, size_t p) {
  // A byte below 0x80 always ends a character (it is one, or it is a second byte), so only the
  // run of bytes of 0x80 or above just before p decides: they pair up from the run's start.
  size_t r = p;
  while (r > from && IsLead(data[r - 1])) --r;
  return (p - r) % 2 == 0;
}

size_t FindFrom(const unsigned char* data, size_t n, size_t from, const unsigned char* sub,
                size_t m, bool ignoreCase) {
  size_t walkStart = from;  // a known character start: the boundary check never looks before it
  size_t p = from;
  for (;;) {
    p = ignoreCase ? RawFindFolded(data, n, p, sub, m) : RawFindExact(data, n, p, sub, m);
    if (p == kNone) return kNone;
    if (StartsCharacter(data, walkStart, p)) {
      // A lead byte that is the text's last byte is an incomplete character: the walk ends
      // there without comparing it.
      if (p == n - 1 && IsLead(data[p])) return kNone;
      return p;
    }
    // p is a second byte, so the next character starts right after it.
    walkStart = p + 1;
    p = p + 1;
  }
}

}  // namespace text_walk
