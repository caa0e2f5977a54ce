#include "app/wide_text_win.h"

#include <windows.h>

namespace {
constexpr UINT kCp936 = 936;
}

std::wstring WideFromCp936(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int size = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(kCp936, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(kCp936, 0, text.data(), size, wide.data(), n);
  return wide;
}

std::string Cp936FromWide(const wchar_t* text, size_t length) {
  if (length == 0) return std::string();
  const int size = static_cast<int>(length);
  const int n = WideCharToMultiByte(kCp936, 0, text, size, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(kCp936, 0, text, size, bytes.data(), n, nullptr, nullptr);
  return bytes;
}

std::string Cp936FromWide(const std::wstring& text) { return Cp936FromWide(text.data(), text.size()); }
