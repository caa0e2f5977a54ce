// Splitting one fuzz input into the arguments of a call. A text never holds a zero byte, so
// the zero byte separates the fields; a field that is not there is the empty text.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

struct FuzzFields {
  std::vector<std::string> fields;

  FuzzFields(const uint8_t* data, size_t size) {
    std::string field;
    for (size_t i = 0; i < size; ++i) {
      if (data[i] == 0) {
        fields.push_back(field);
        field.clear();
      } else {
        field += static_cast<char>(data[i]);
      }
    }
    fields.push_back(field);
  }

  const std::string& operator[](size_t i) const {
    static const std::string empty;
    return i < fields.size() ? fields[i] : empty;
  }

  // A small integer from field i's first byte, or `absent` when the field is empty.
  int Small(size_t i, int absent, int bias) const {
    const std::string& f = (*this)[i];
    return f.empty() ? absent : static_cast<int>(static_cast<unsigned char>(f[0])) - bias;
  }
};

// A failed check must stop the run with a crash report, whatever the build's NDEBUG.
#define FUZZ_CHECK(condition)                                                      \
  do {                                                                             \
    if (!(condition)) {                                                            \
      std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", #condition, __FILE__, \
                   __LINE__);                                                      \
      std::abort();                                                                \
    }                                                                              \
  } while (0)

// A signed position or count from one byte, reaching the extremes of int as well: the
// arithmetic on positions must not overflow.
inline int FuzzInt(unsigned char b) {
  if (b == 0x7F) return 2147483647;
  if (b == 0x80) return -2147483647 - 1;
  return static_cast<signed char>(b);
}
