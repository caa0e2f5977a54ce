// Slicing, case, blanks, numbers, byte buffers and text arrays.
#include "text/text.h"

#include <algorithm>
#include <cstring>

#include "app/fault.h"
#include "text/text_walk.h"

using text_walk::IsLead;

namespace {

unsigned char At(const std::string& s, size_t i) { return static_cast<unsigned char>(s[i]); }

// The full-width space: two bytes 0xA1 0xA1.
bool FullWidthSpaceAt(const std::string& s, size_t i) {
  return i + 1 < s.size() && At(s, i) == 0xA1 && At(s, i + 1) == 0xA1;
}

}  // namespace

int TextLength(const std::string& text) { return static_cast<int>(text.size()); }

std::string TextLeft(const std::string& text, int n) {
  if (n <= 0) return std::string();
  return text.substr(0, static_cast<size_t>(n));
}

std::string TextRight(const std::string& text, int n) {
  if (n <= 0) return std::string();
  const size_t k = std::min(static_cast<size_t>(n), text.size());
  return text.substr(text.size() - k);
}

std::string TextMid(const std::string& text, int start, int n) {
  // A start of 0 is not taken as 1: it gives the empty text like any start below 1.
  if (start < 1 || n <= 0 || static_cast<size_t>(start) > text.size()) return std::string();
  return text.substr(static_cast<size_t>(start) - 1, static_cast<size_t>(n));
}

std::string TextLower(const std::string& text) {
  std::string out = text;
  const size_t L = out.size();
  for (size_t i = 0; i < L;) {
    const unsigned char c = At(out, i);
    if (IsLead(c)) {
      i += 2;  // both bytes stay, even a second byte in "A".."Z"; a lone final lead byte stays
    } else {
      out[i] = static_cast<char>(text_walk::FoldCase(c));
      ++i;
    }
  }
  return out;
}

std::string TextTrim(const std::string& text) {
  const size_t L = text.size();
  size_t i = 0;
  for (;;) {
    if (i < L && At(text, i) == ' ') {
      ++i;
    } else if (FullWidthSpaceAt(text, i)) {
      i += 2;
    } else {
      break;
    }
  }
  const size_t begin = i;
  size_t end = i;  // just past the last character that is not a blank
  while (i < L) {
    const unsigned char c = At(text, i);
    if (!IsLead(c)) {
      if (c != ' ') end = i + 1;
      ++i;
    } else if (i + 1 < L) {
      if (!FullWidthSpaceAt(text, i)) end = i + 2;
      i += 2;
    } else {
      // An incomplete final character: cut just before it, keeping the blanks in front of it.
      return text.substr(begin, L - 1 - begin);
    }
  }
  return text.substr(begin, end - begin);
}

std::string TextRemoveSpaces(const std::string& text) {
  const size_t L = text.size();
  std::string out;
  out.reserve(L);
  size_t kept = 0;  // start of the run of bytes not yet copied
  for (size_t i = 0; i < L;) {
    const unsigned char c = At(text, i);
    if (!IsLead(c)) {
      if (c == ' ') {
        out.append(text, kept, i - kept);
        kept = i + 1;
      }
      ++i;
    } else if (i + 1 < L) {
      if (FullWidthSpaceAt(text, i)) {
        out.append(text, kept, i - kept);
        kept = i + 2;
      }
      i += 2;
    } else {
      out.append(text, kept, i - kept);  // an incomplete final character is dropped
      return out;
    }
  }
  out.append(text, kept, L - kept);
  return out;
}

int32_t TextToInt(const std::string& text) {
  const size_t L = text.size();
  size_t i = 0;
  // Yields the text one byte at a time with full-width forms already made one-byte; -1 at the
  // end (an incomplete final character counts as the end). A two-byte character that stays
  // yields its lead byte, which stops the number like any other non-digit.
  auto next = [&]() -> int {
    if (i >= L) return -1;
    const unsigned char c = At(text, i);
    if (!IsLead(c)) {
      ++i;
      return c;
    }
    if (i + 1 >= L) {
      i = L;
      return -1;
    }
    const unsigned char c2 = At(text, i + 1);
    i += 2;
    if (c == 0xA3 && c2 >= 0xA1 && c2 <= 0xFE) return c2 - 0x80;  // full-width ASCII
    if (c == 0xA1) {
      if (c2 == 0xA1) return ' ';
      if (c2 == 0xAB) return '~';
      if (c2 == 0xEE || c2 == 0xEF) return '*';
    }
    return c;
  };
  int c = next();
  while (c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r') c = next();
  bool negative = false;
  if (c == '+' || c == '-') {
    negative = c == '-';
    c = next();
  }
  // Wraps modulo 2^32 rather than saturating.
  uint32_t value = 0;
  while (c >= '0' && c <= '9') {
    value = value * 10u + static_cast<uint32_t>(c - '0');
    c = next();
  }
  if (negative) value = 0u - value;
  return value <= 0x7FFFFFFFu ? static_cast<int32_t>(value)
                              : -static_cast<int32_t>(~value) - 1;
}

std::string IntToText(int32_t value) { return std::to_string(value); }

std::string TextChar(int code) {
  const char c = static_cast<char>(static_cast<unsigned char>(code & 0xFF));
  return c == 0 ? std::string() : std::string(1, c);  // a text never holds a zero byte
}

std::string Spaces(int n) { return n > 0 ? std::string(static_cast<size_t>(n), ' ') : std::string(); }

Bytes TextToBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

std::string BytesToText(const uint8_t* data, size_t size) {
  if (size == 0) return std::string();
  const void* zero = std::memchr(data, 0, size);
  const size_t n = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - data) : size;
  return std::string(reinterpret_cast<const char*>(data), n);
}

std::string BytesToText(const Bytes& bytes) { return BytesToText(bytes.data(), bytes.size()); }

Bytes ZeroBytes(int n) { return n > 0 ? Bytes(static_cast<size_t>(n), 0) : Bytes(); }

Bytes BytesLeft(const Bytes& bytes, int n) {
  const size_t k = n > 0 ? std::min(static_cast<size_t>(n), bytes.size()) : 0;
  return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(k));
}

int ByteLength(const Bytes& bytes) { return static_cast<int>(bytes.size()); }

Bytes JoinBytes(const Bytes& first, const Bytes& second) {
  Bytes out;
  out.reserve(first.size() + second.size());
  out.insert(out.end(), first.begin(), first.end());
  out.insert(out.end(), second.begin(), second.end());
  return out;
}

const std::string& Element(const TextArray& array, int index) {
  if (index < 1 || static_cast<size_t>(index) > array.size()) {
    RaiseFault("文本数组下标超出范围");
  }
  return array[static_cast<size_t>(index) - 1];
}

int Count(const TextArray& array) { return static_cast<int>(array.size()); }

void Append(TextArray& array, const std::string& text) { array.push_back(text); }
