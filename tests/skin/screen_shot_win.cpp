#include "tests/skin/screen_shot_win.h"

#include <cstdio>

COLORREF Shot::At(int x, int y) const {
  const DWORD p = bits[static_cast<size_t>(y - top) * width + (x - left)];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

Shot Capture(const RECT& r) {
  Shot shot{r.left, r.top, r.right - r.left, r.bottom - r.top, {}};
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), shot.width, -shot.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, shot.width, shot.height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const auto* p = static_cast<const DWORD*>(bits);
  shot.bits.assign(p, p + static_cast<size_t>(shot.width) * shot.height);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return shot;
}

void SaveBmp(const Shot& shot, const std::string& path) {
  BITMAPINFOHEADER header{sizeof header, shot.width, -shot.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(shot.bits.size() * 4);
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(&file, sizeof file, 1, f);
    std::fwrite(&header, sizeof header, 1, f);
    // Opaque: some viewers take the fourth byte of a 32-bit bitmap for alpha.
    std::vector<DWORD> opaque(shot.bits);
    for (DWORD& p : opaque) p |= 0xFF000000u;
    std::fwrite(opaque.data(), 4, opaque.size(), f);
    std::fclose(f);
  }
}

std::string Hex(COLORREF c) {
  char s[16];
  std::snprintf(s, sizeof s, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return s;
}

bool Between(COLORREF c, COLORREF a, COLORREF b) {
  for (int shift = 0; shift < 24; shift += 8) {
    const int v = (c >> shift) & 0xFF, x = (a >> shift) & 0xFF, y = (b >> shift) & 0xFF;
    if (v < (x < y ? x : y) - 1 || v > (x < y ? y : x) + 1) return false;
  }
  return true;
}
