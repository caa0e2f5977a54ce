// The character walk shared by the searching operations. A text is walked one character at a
// time: a byte below 0x80 is a character, a byte of 0x80 or above begins a two-byte character.
// A sub-text only matches where the walk stands, never at a second byte.
#pragma once
#include <cstddef>
#include <string>

namespace text_walk {

constexpr size_t kNone = static_cast<size_t>(-1);

inline bool IsLead(unsigned char c) { return c >= 0x80; }

// Only "A" to "Z" fold; every other byte, second bytes of two-byte characters included,
// compares as it is.
inline unsigned char FoldCase(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 0x20) : c;
}

// The first character start p at or after `from` (which the walk takes as a character start,
// whatever byte it is) where the m bytes of `sub` match and fit within the n bytes of `data`;
// kNone when the walk ends first: fewer than m bytes left, or an incomplete final character
// reached. m must be at least 1.
size_t FindFrom(const unsigned char* data, size_t n, size_t from, const unsigned char* sub,
                size_t m, bool ignoreCase);

// Whether position p starts a character, given that `from` (at most p) does.
bool StartsCharacter(const unsigned char* data, size_t from, size_t p);

}  // namespace text_walk
