// The conversions through the system's MultiByteToWideChar and WideCharToMultiByte, reached
// through the external-function table so that they are bound at their first call.
#include <windows.h>

#include <cstring>

#include "app/dll_table.h"
#include "text/codepage.h"

namespace {

using MultiByteToWideCharFn = int(WINAPI*)(UINT, DWORD, LPCCH, int, LPWSTR, int);
using WideCharToMultiByteFn = int(WINAPI*)(UINT, DWORD, LPCWCH, int, LPSTR, int, LPCCH, LPBOOL);

}  // namespace

Bytes MultiByteToUnicode(const std::string& text, unsigned codePage) {
  const auto convert = External<MultiByteToWideCharFn>(kMultiByteToWideChar);
  // Length -1: the text and its terminating zero, so the count includes the zero unit.
  const int n = convert(codePage, 0, text.c_str(), -1, nullptr, 0);
  Bytes units = ZeroBytes(2 * n);
  convert(codePage, 0, text.c_str(), -1, n > 0 ? reinterpret_cast<LPWSTR>(units.data()) : nullptr,
          n);
  return units;
}

std::string UnicodeToMultiByte(const Bytes& units, unsigned codePage) {
  const auto convert = External<WideCharToMultiByteFn>(kWideCharToMultiByte);
  const size_t count = units.size() / 2;
  const wchar_t* source = nullptr;
  std::vector<wchar_t> terminated;
  if (!units.empty()) {
    // The system reads up to the first zero unit; a buffer without one gets a terminated copy
    // so that the read never runs past its end.
    bool hasZero = false;
    for (size_t i = 0; i < count && !hasZero; ++i) hasZero = units[2 * i] == 0 && units[2 * i + 1] == 0;
    if (hasZero) {
      source = reinterpret_cast<const wchar_t*>(units.data());
    } else {
      terminated.resize(count + 1, L'\0');
      if (count) std::memcpy(terminated.data(), units.data(), 2 * count);
      source = terminated.data();
    }
  }
  // Measured in the ANSI code page: twice that always holds the code page 936 form.
  int m = convert(CP_ACP, 0, source, -1, nullptr, 0, nullptr, nullptr);
  if (m <= 0) return std::string();
  std::string out = Spaces(2 * m);
  if (convert(codePage, 0, source, -1, &out[0], 2 * m, nullptr, nullptr) == 0) {
    // Another code page may need more room than that; taking the untouched spaces for the
    // result would turn the text into blanks, so measure in the chosen code page and retry.
    m = convert(codePage, 0, source, -1, nullptr, 0, nullptr, nullptr);
    if (m <= 0) return std::string();
    out = Spaces(m);
    if (convert(codePage, 0, source, -1, &out[0], m, nullptr, nullptr) == 0) return std::string();
  }
  out.resize(std::strlen(out.c_str()));  // up to the written terminator
  return out;
}
