// Drawing the skinned parts: push buttons, list headers, progress bars and the caption bar.
#pragma once
#include <windows.h>

#include "skin/skin_format.h"

void FillGradient(HDC dc, const RECT& rect, COLORREF from, COLORREF to, bool vertical);

struct ButtonLook {
  bool hot;
  bool pressed;
  bool focused;
  bool enabled;
};
// The whole button; the rounded corners show the skin's window background.
void PaintPushButton(HWND button, HDC dc, const Skin& skin, const ButtonLook& look);

// Every item of a header control; `pressed` is the index of the item held down, or -1.
void PaintHeader(HWND header, HDC dc, const Skin& skin, int pressed);

// A horizontal progress bar: border, background and the filled part (in segments unless smooth).
void PaintProgressBar(HWND bar, HDC dc, const Skin& skin);

// The caption bar of a top-level window, its buttons and the frame around the window, over
// what the system drew.
void PaintCaption(HWND window, const Skin& skin, bool active);
