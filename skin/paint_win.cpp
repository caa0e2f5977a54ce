#include "skin/paint_win.h"

#include <commctrl.h>

#include <string>

namespace {

COLORREF Blend(COLORREF a, COLORREF b, int step, int steps) {
  auto channel = [&](int shift) {
    const int x = (a >> shift) & 0xFF, y = (b >> shift) & 0xFF;
    return static_cast<COLORREF>(x + (y - x) * step / (steps > 0 ? steps : 1)) << shift;
  };
  return channel(0) | channel(8) | channel(16);
}

void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
  // ExtTextOut with ETO_OPAQUE fills without creating a brush.
  const COLORREF old = SetBkColor(dc, color);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
  SetBkColor(dc, old);
}

std::wstring WindowText(HWND window) {
  const int n = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, &text[0], n + 1)));
  return text;
}

HFONT WindowFont(HWND window) {
  const auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
  return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void Line(HDC dc, int x1, int y1, int x2, int y2, COLORREF color, int width) {
  HPEN pen = CreatePen(PS_SOLID, width, color);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
  SelectObject(dc, old);
  DeleteObject(pen);
}

}  // namespace

void FillGradient(HDC dc, const RECT& rect, COLORREF from, COLORREF to, bool vertical) {
  const int span = vertical ? rect.bottom - rect.top : rect.right - rect.left;
  // Bands of two pixels are smooth enough and halve the calls on a wide caption.
  for (int i = 0; i < span; i += 2) {
    RECT band = rect;
    if (vertical) {
      band.top = rect.top + i;
      band.bottom = band.top + 2 < rect.bottom ? band.top + 2 : rect.bottom;
    } else {
      band.left = rect.left + i;
      band.right = band.left + 2 < rect.right ? band.left + 2 : rect.right;
    }
    FillSolid(dc, band, Blend(from, to, i, span - 1));
  }
}

void PaintPushButton(HWND button, HDC dc, const Skin& skin, const ButtonLook& look) {
  RECT rect;
  GetClientRect(button, &rect);
  FillSolid(dc, rect, skin.colors[kSkinWindow]);

  const int r = skin.button_radius * 2;
  HRGN shape = CreateRoundRectRgn(rect.left, rect.top, rect.right + 1, rect.bottom + 1, r + 1, r + 1);
  SelectClipRgn(dc, shape);
  COLORREF top = skin.colors[kSkinFaceTop], bottom = skin.colors[kSkinFaceBottom];
  if (look.pressed) {
    top = skin.colors[kSkinPressedTop], bottom = skin.colors[kSkinPressedBottom];
  } else if (look.hot && look.enabled) {
    top = skin.colors[kSkinHotTop], bottom = skin.colors[kSkinHotBottom];
  }
  FillGradient(dc, rect, top, bottom, true);
  SelectClipRgn(dc, nullptr);

  HBRUSH border = CreateSolidBrush(look.focused || look.hot ? Blend(skin.colors[kSkinBorder],
                                   skin.colors[kSkinFocus], 1, 2) : skin.colors[kSkinBorder]);
  FrameRgn(dc, shape, border, skin.border_width, skin.border_width);
  DeleteObject(border);
  DeleteObject(shape);

  RECT text_rect = rect;
  if (look.pressed) OffsetRect(&text_rect, 1, 1);
  const std::wstring text = WindowText(button);
  HGDIOBJ old_font = SelectObject(dc, WindowFont(button));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, look.enabled ? skin.colors[kSkinButtonText] : skin.colors[kSkinDisabledText]);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &text_rect,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old_font);

  if (look.focused && !(SendMessageW(button, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) {
    RECT focus = rect;
    InflateRect(&focus, -3, -3);
    SetTextColor(dc, skin.colors[kSkinFocus]);
    DrawFocusRect(dc, &focus);
  }
}

void PaintHeader(HWND header, HDC dc, const Skin& skin, int pressed) {
  RECT client;
  GetClientRect(header, &client);
  const COLORREF face = skin.colors[kSkinHeaderFace];
  const COLORREF light = Blend(face, RGB(255, 255, 255), 1, 2);
  FillGradient(dc, client, light, face, true);
  HGDIOBJ old_font = SelectObject(dc, WindowFont(header));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, skin.colors[kSkinHeaderText]);
  const int count = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    RECT item;
    if (!SendMessageW(header, HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item))) continue;
    if (i == pressed) FillGradient(dc, item, skin.colors[kSkinPressedTop], skin.colors[kSkinPressedBottom], true);
    wchar_t text[256] = L"";
    HDITEMW info{};
    info.mask = HDI_TEXT | HDI_FORMAT;
    info.pszText = text;
    info.cchTextMax = 255;
    SendMessageW(header, HDM_GETITEMW, i, reinterpret_cast<LPARAM>(&info));
    RECT text_rect = item;
    InflateRect(&text_rect, -6, 0);
    UINT align = DT_LEFT;
    if ((info.fmt & HDF_JUSTIFYMASK) == HDF_CENTER) align = DT_CENTER;
    if ((info.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT) align = DT_RIGHT;
    DrawTextW(dc, text, -1, &text_rect, align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    if (item.right - item.left > 1)
      Line(dc, item.right - 1, item.top + 3, item.right - 1, item.bottom - 3, skin.colors[kSkinBorder], 1);
  }
  SelectObject(dc, old_font);
  Line(dc, client.left, client.bottom - 1, client.right, client.bottom - 1, skin.colors[kSkinBorder], 1);
}

void PaintCaption(HWND window, const Skin& skin, bool active) {
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  if ((style & WS_CAPTION) != WS_CAPTION || (style & WS_CHILD) || IsIconic(window)) return;
  const LONG ex_style = GetWindowLongW(window, GWL_EXSTYLE);
  if (ex_style & WS_EX_TOOLWINDOW) return;  // small captions: left to the system

  RECT outer, client;
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  // The frame is as thick below the client area as it is above the caption.
  const int edge = (ex_style & WS_EX_CLIENTEDGE) ? GetSystemMetrics(SM_CYEDGE) : 0;
  const int frame = outer.bottom - (origin.y + client.bottom) - edge;
  const int width = outer.right - outer.left;
  RECT bar{frame, frame, width - frame, frame + GetSystemMetrics(SM_CYCAPTION) - 1};
  if (bar.right <= bar.left || bar.bottom <= bar.top) return;

  HDC dc = GetWindowDC(window);
  if (!dc) return;

  // The frame around caption and client area, in a shade between the caption and the border;
  // a client edge, where there is one, stays the system's.
  const int height_total = outer.bottom - outer.top;
  const int client_left = origin.x - outer.left - edge, client_top = origin.y - outer.top - edge;
  const int client_right = client_left + client.right + 2 * edge;
  const int client_bottom = client_top + client.bottom + 2 * edge;
  const COLORREF left_end = skin.colors[active ? kSkinCaptionLeft : kSkinCaptionIdleLeft];
  const RECT frame_parts[] = {
      {0, 0, width, bar.top},                  {0, 0, bar.left, height_total},
      {bar.right, 0, width, height_total},     {0, bar.bottom, width, client_top},
      {0, client_bottom, width, height_total}, {0, client_top, client_left, client_bottom},
      {client_right, client_top, width, client_bottom}};
  for (const RECT& part : frame_parts)
    if (part.right > part.left && part.bottom > part.top)
      FillSolid(dc, part, Blend(left_end, skin.colors[kSkinBorder], 1, 2));
  HBRUSH outline = CreateSolidBrush(left_end);
  const RECT whole{0, 0, width, height_total};
  FrameRect(dc, &whole, outline);
  DeleteObject(outline);

  FillGradient(dc, bar, skin.colors[active ? kSkinCaptionLeft : kSkinCaptionIdleLeft],
               skin.colors[active ? kSkinCaptionRight : kSkinCaptionIdleRight], false);
  const int height = bar.bottom - bar.top;

  int text_left = bar.left + 6;
  if (style & WS_SYSMENU) {
    auto icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL2, 0));
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICONSM));
    const int size = GetSystemMetrics(SM_CXSMICON);
    if (icon) DrawIconEx(dc, bar.left + 2, bar.top + (height - size) / 2, icon, size, size, 0, nullptr, DI_NORMAL);
    text_left = bar.left + size + 6;
  }

  // Caption buttons, drawn as plain glyphs on the bar: close, then maximise and minimise.
  const COLORREF glyph = skin.colors[kSkinCaptionText];
  const COLORREF end = skin.colors[active ? kSkinCaptionRight : kSkinCaptionIdleRight];
  const COLORREF greyed = Blend(glyph, end, 2, 3);  // a caption button the window lacks
  const COLORREF text = active ? glyph : Blend(glyph, end, 1, 4);
  const int button = GetSystemMetrics(SM_CXSIZE);
  int right = bar.right;
  if (style & WS_SYSMENU) {
    const int cx = right - button / 2 - 1, cy = bar.top + height / 2, s = height / 4;
    Line(dc, cx - s, cy - s, cx + s + 1, cy + s + 1, glyph, 2);
    Line(dc, cx + s, cy - s, cx - s - 1, cy + s + 1, glyph, 2);
    right -= button + 2;
    if (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) {
      int x = right - button / 2 - 1;
      const COLORREF max_color = (style & WS_MAXIMIZEBOX) ? glyph : greyed;
      RECT box{x - s, cy - s, x + s + 1, cy + s + 1};
      HBRUSH brush = CreateSolidBrush(max_color);
      FrameRect(dc, &box, brush);
      box.top += 1;
      FrameRect(dc, &box, brush);
      DeleteObject(brush);
      right -= button;
      x = right - button / 2 - 1;
      Line(dc, x - s, cy + s, x + s + 1, cy + s, (style & WS_MINIMIZEBOX) ? glyph : greyed, 2);
      right -= button;
    }
  }

  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  metrics.lfCaptionFont.lfWeight = FW_BOLD;
  HFONT font = CreateFontIndirectW(&metrics.lfCaptionFont);
  HGDIOBJ old_font = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, text);
  RECT text_rect{text_left, bar.top, right - 4, bar.bottom};
  const std::wstring title = WindowText(window);
  DrawTextW(dc, title.c_str(), static_cast<int>(title.size()), &text_rect,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  SelectObject(dc, old_font);
  DeleteObject(font);
  ReleaseDC(window, dc);
}

void PaintProgressBar(HWND bar, HDC dc, const Skin& skin) {
  RECT rect;
  GetClientRect(bar, &rect);
  FillSolid(dc, rect, skin.colors[kSkinProgressBack]);
  HBRUSH border = CreateSolidBrush(skin.colors[kSkinBorder]);
  FrameRect(dc, &rect, border);
  DeleteObject(border);
  InflateRect(&rect, -2, -2);
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;

  PBRANGE range{};
  SendMessageW(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  const int position = static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0));
  const long long span = static_cast<long long>(range.iHigh) - range.iLow;
  if (span <= 0 || position <= range.iLow) return;
  const long long done = position >= range.iHigh ? span : position - range.iLow;
  const int filled = static_cast<int>((rect.right - rect.left) * done / span);

  const COLORREF color = skin.colors[kSkinProgressBar];
  const COLORREF light = Blend(color, RGB(255, 255, 255), 1, 3);
  const bool smooth = (GetWindowLongW(bar, GWL_STYLE) & PBS_SMOOTH) != 0;
  // Segments as the classic bar draws them: about two thirds of the height wide, 2-pixel gaps.
  const int segment = smooth ? filled : ((rect.bottom - rect.top) * 2 / 3 > 2 ? (rect.bottom - rect.top) * 2 / 3 : 2);
  for (int x = 0; x < filled; x += segment + (smooth ? 0 : 2)) {
    RECT block{rect.left + x, rect.top, rect.left + x + segment, rect.bottom};
    if (block.right > rect.left + filled) block.right = rect.left + filled;
    RECT upper = block, lower = block;
    upper.bottom = lower.top = block.top + (block.bottom - block.top) / 2;
    FillGradient(dc, upper, light, color, true);
    FillSolid(dc, lower, color);
  }
}
