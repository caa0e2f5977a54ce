// Screen pixels as the user sees them: capture a rectangle of the screen, read its colours,
// save it as a bitmap file for people to look at.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct Shot {
  int left = 0, top = 0, width = 0, height = 0;
  std::vector<DWORD> bits;  // 0x00RRGGBB, top row first
  COLORREF At(int x, int y) const;  // screen coordinates
};

Shot Capture(const RECT& screen_rect);
void SaveBmp(const Shot& shot, const std::string& path);

// "#RRGGBB", so that a failed comparison reads like a colour.
std::string Hex(COLORREF c);

// True when every channel of c lies between those of a and b (a gradient's two ends), give or
// take one.
bool Between(COLORREF c, COLORREF a, COLORREF b);
