// The conversions for builds without the Windows functions: UTF-8 is decoded and encoded here,
// other code pages go through iconv. Results match the Windows functions called with flags 0:
// a malformed UTF-8 sequence becomes U+FFFD and the conversion goes on, and a character the
// target code page lacks becomes "?". There is no ANSI code page here: 0 means 936.
#include <errno.h>
#include <iconv.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "text/codepage.h"

namespace {

constexpr unsigned kAnsiCodePage = 936;
constexpr unsigned kUtf8 = 65001;
constexpr uint16_t kReplacement = 0xFFFD;

std::string IconvName(unsigned codePage) {
  if (codePage == kAnsiCodePage) return "CP936";
  return "CP" + std::to_string(codePage);
}

// An iconv descriptor that closes itself.
struct Converter {
  iconv_t cd;
  Converter(const std::string& to, const std::string& from) : cd(iconv_open(to.c_str(), from.c_str())) {}
  ~Converter() {
    if (ok()) iconv_close(cd);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd != reinterpret_cast<iconv_t>(-1); }
};

void PutUnit(Bytes& out, uint32_t unit) {
  out.push_back(static_cast<uint8_t>(unit & 0xFF));
  out.push_back(static_cast<uint8_t>(unit >> 8));
}

void PutCodePoint(Bytes& out, uint32_t cp) {
  if (cp < 0x10000) {
    PutUnit(out, cp);
  } else {
    cp -= 0x10000;
    PutUnit(out, 0xD800 + (cp >> 10));
    PutUnit(out, 0xDC00 + (cp & 0x3FF));
  }
}

// UTF-8 to UTF-16LE units. Each maximal ill-formed part (a byte that cannot start a sequence,
// or a sequence cut short) becomes one U+FFFD; surrogates and overlong forms are ill-formed.
void DecodeUtf8(const unsigned char* s, size_t n, Bytes& out) {
  size_t i = 0;
  while (i < n) {
    const unsigned char c = s[i];
    if (c < 0x80) {
      PutUnit(out, c);
      ++i;
      continue;
    }
    size_t length;
    uint32_t cp;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
      length = 2, cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3, cp = c & 0x0F;
      if (c == 0xE0) low = 0xA0;
      if (c == 0xED) high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4, cp = c & 0x07;
      if (c == 0xF0) low = 0x90;
      if (c == 0xF4) high = 0x8F;
    } else {
      PutUnit(out, kReplacement);
      ++i;
      continue;
    }
    size_t k = 1;
    for (; k < length && i + k < n; ++k) {
      const unsigned char t = s[i + k];
      const unsigned char lo = k == 1 ? low : 0x80, hi = k == 1 ? high : 0xBF;
      if (t < lo || t > hi) break;
      cp = (cp << 6) | (t & 0x3F);
    }
    if (k < length) {
      PutUnit(out, kReplacement);
      i += k;
      continue;
    }
    PutCodePoint(out, cp);
    i += length;
  }
}

void PutUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// UTF-16 units to UTF-8; a surrogate without its partner becomes U+FFFD.
std::string EncodeUtf8(const uint16_t* u, size_t n) {
  std::string out;
  out.reserve(n * 3);
  for (size_t i = 0; i < n; ++i) {
    uint32_t cp = u[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < n && u[i + 1] >= 0xDC00 && u[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (u[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    PutUtf8(out, cp);
  }
  return out;
}

// Runs iconv over the whole input; where it stops at something it cannot convert, `onError`
// writes the stand-in and says how many input bytes to skip (0: give up).
template <class OnError>
bool RunIconv(const std::string& to, const std::string& from, const char* in, size_t inLeft,
              std::string& out, OnError onError) {
  Converter conv(to, from);
  if (!conv.ok()) return false;
  char buffer[4096];
  char* src = const_cast<char*>(in);  // iconv's interface is not const-correct
  while (inLeft > 0) {
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    const size_t r = iconv(conv.cd, &src, &inLeft, &dst, &dstLeft);
    const int error = errno;
    out.append(buffer, static_cast<size_t>(dst - buffer));
    if (r != static_cast<size_t>(-1) || error == E2BIG) continue;
    const size_t skip = std::min(onError(out, src, inLeft), inLeft);
    if (skip == 0) break;
    src += skip;
    inLeft -= skip;
  }
  return true;
}

}  // namespace

Bytes MultiByteToUnicode(const std::string& text, unsigned codePage) {
  if (codePage == 0) codePage = kAnsiCodePage;
  const char* s = text.c_str();
  const size_t n = std::strlen(s);  // the text ends at its first zero byte
  Bytes units;
  if (codePage == kUtf8) {
    units.reserve(2 * n + 2);
    DecodeUtf8(reinterpret_cast<const unsigned char*>(s), n, units);
  } else {
    std::string utf16;
    // A character the code page does not define becomes one U+003F; as in the character
    // walk, a lead byte takes the byte after it along, whatever that byte is.
    const bool ok = RunIconv("UTF-16LE", IconvName(codePage), s, n, utf16,
                             [](std::string& out, const char* at, size_t) {
                               out.append("?\0", 2);
                               return static_cast<unsigned char>(*at) >= 0x80 ? size_t{2} : size_t{1};
                             });
    if (!ok) return Bytes();  // an unknown code page: nothing converted
    units.assign(utf16.begin(), utf16.end());
  }
  PutUnit(units, 0);
  return units;
}

std::string UnicodeToMultiByte(const Bytes& units, unsigned codePage) {
  if (codePage == 0) codePage = kAnsiCodePage;
  if (units.empty()) return std::string();
  // The units up to the first zero unit; a trailing odd byte is not a unit.
  size_t count = 0;
  const size_t available = units.size() / 2;
  while (count < available && (units[2 * count] | units[2 * count + 1]) != 0) ++count;
  if (codePage == kUtf8) {
    std::vector<uint16_t> u(count);
    for (size_t i = 0; i < count; ++i) u[i] = static_cast<uint16_t>(units[2 * i] | (units[2 * i + 1] << 8));
    return EncodeUtf8(u.data(), count);
  }
  std::string out;
  // Each unit the code page lacks, a lone surrogate or either half of a pair, becomes "?".
  const bool ok = RunIconv(IconvName(codePage), "UTF-16LE",
                           reinterpret_cast<const char*>(units.data()), 2 * count, out,
                           [](std::string& o, const char*, size_t) {
                             o += '?';
                             return size_t{2};
                           });
  return ok ? out : std::string();
}
