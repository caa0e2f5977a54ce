#include "skin/engine_win.h"

#include <commctrl.h>

#include <cwchar>

#include "skin/paint_win.h"

namespace {

enum WindowKind { kFrame = 1, kPushButton, kHeader, kProgressBar };

// What one thread's windows are drawn with. Kept for the thread's life once made, so the
// subclasses' reference to it stays valid when a later call replaces the skin.
struct ThreadSkin {
  Skin skin;
  HBRUSH window_brush;
  HBRUSH edit_brush;
  HHOOK hook;
};

HINSTANCE g_module = nullptr;
thread_local ThreadSkin* t_state = nullptr;

const wchar_t kHotProp[] = L"tc.skin.hot";
const wchar_t kPressedProp[] = L"tc.skin.pressed";
const wchar_t kKindProp[] = L"tc.skin.kind";  // marks a window this engine has subclassed
constexpr UINT_PTR kSubclassId = 0x534845;  // ".SHE"

bool ClassIs(const wchar_t* name, const wchar_t* wanted) { return _wcsicmp(name, wanted) == 0; }

bool IsPushButton(HWND button) {
  const LONG type = GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

// Which of our treatments a window gets; 0: none (its parent's colours still apply to it).
int KindOf(HWND window) {
  wchar_t name[64] = L"";
  GetClassNameW(window, name, 64);
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  if (ClassIs(name, L"Button")) return IsPushButton(window) ? kPushButton : 0;
  if (ClassIs(name, WC_HEADERW)) return kHeader;
  // Vertical and marquee bars are left to the system.
  if (ClassIs(name, PROGRESS_CLASSW)) return style & (PBS_VERTICAL | PBS_MARQUEE) ? 0 : kProgressBar;
  // Controls that draw their own background, and the system's helper windows.
  static const wchar_t* const kLeftAlone[] = {
      L"Static", L"Edit", L"ComboBox", L"ComboLBox", L"ListBox", L"ScrollBar", L"SysListView32",
      L"SysTreeView32", L"msctls_trackbar32", L"msctls_updown32", L"tooltips_class32",
      L"SysTabControl32", L"RichEdit20A", L"RichEdit20W", L"RICHEDIT50W", L"IME", L"MSCTFIME UI",
      L"#32768", L"#32769", L"Message"};
  for (const wchar_t* c : kLeftAlone)
    if (ClassIs(name, c)) return 0;
  return kFrame;
}

bool HasProp(HWND window, const wchar_t* prop) { return GetPropW(window, prop) != nullptr; }

void RepaintButton(HWND button, const ThreadSkin& state) {
  if (!IsWindow(button) || !IsWindowVisible(button)) return;
  HDC dc = GetDC(button);
  if (!dc) return;
  const LRESULT s = SendMessageW(button, BM_GETSTATE, 0, 0);
  PaintPushButton(button, dc, state.skin,
                  {HasProp(button, kHotProp), (s & BST_PUSHED) != 0, GetFocus() == button,
                   IsWindowEnabled(button) != FALSE});
  ReleaseDC(button, dc);
}

void ColorProgressBar(HWND bar, const Skin& skin) {
  SendMessageW(bar, PBM_SETBARCOLOR, 0, static_cast<LPARAM>(skin.colors[kSkinProgressBar]));
  SendMessageW(bar, PBM_SETBKCOLOR, 0, static_cast<LPARAM>(skin.colors[kSkinProgressBack]));
}

LRESULT FrameMessage(HWND window, UINT message, WPARAM wp, LPARAM lp, const ThreadSkin& state) {
  const Skin& skin = state.skin;
  switch (message) {
    case WM_ERASEBKGND: {
      RECT rect;
      GetClientRect(window, &rect);
      FillRect(reinterpret_cast<HDC>(wp), &rect, state.window_brush);
      return 1;
    }
    case WM_CTLCOLORSTATIC: {
      const auto dc = reinterpret_cast<HDC>(wp);
      const auto control = reinterpret_cast<HWND>(lp);
      wchar_t name[16] = L"";
      GetClassNameW(control, name, 16);
      if (ClassIs(name, L"Edit")) {  // a read-only or disabled edit box
        SetTextColor(dc, skin.colors[kSkinDisabledText]);
        SetBkColor(dc, skin.colors[kSkinEditBack]);
        return reinterpret_cast<LRESULT>(state.edit_brush);
      }
      SetTextColor(dc, IsWindowEnabled(control) ? skin.colors[kSkinWindowText] : skin.colors[kSkinDisabledText]);
      SetBkColor(dc, skin.colors[kSkinWindow]);
      SetBkMode(dc, TRANSPARENT);
      return reinterpret_cast<LRESULT>(state.window_brush);
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
      const auto dc = reinterpret_cast<HDC>(wp);
      SetTextColor(dc, skin.colors[kSkinEditText]);
      SetBkColor(dc, skin.colors[kSkinEditBack]);
      return reinterpret_cast<LRESULT>(state.edit_brush);
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: {
      const auto dc = reinterpret_cast<HDC>(wp);
      SetTextColor(dc, skin.colors[kSkinWindowText]);
      SetBkColor(dc, skin.colors[kSkinWindow]);
      return reinterpret_cast<LRESULT>(state.window_brush);
    }
    default:
      break;
  }
  const LRESULT result = DefSubclassProc(window, message, wp, lp);
  switch (message) {
    // The system draws the caption on these; ours goes over it.
    case WM_NCPAINT:
    case WM_SETTEXT:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_SYSCOMMAND:
      if (IsWindow(window)) PaintCaption(window, skin, GetActiveWindow() == window);
      break;
    case WM_NCACTIVATE:
      if (IsWindow(window)) PaintCaption(window, skin, wp != FALSE);
      break;
    default:
      break;
  }
  return result;
}

LRESULT ButtonMessage(HWND button, UINT message, WPARAM wp, LPARAM lp, const ThreadSkin& state) {
  // A button whose style was changed to another kind after it was made is the system's again.
  if (!IsPushButton(button)) return DefSubclassProc(button, message, wp, lp);
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      PAINTSTRUCT ps;
      HDC dc = message == WM_PAINT ? BeginPaint(button, &ps) : reinterpret_cast<HDC>(wp);
      const LRESULT s = SendMessageW(button, BM_GETSTATE, 0, 0);
      PaintPushButton(button, dc, state.skin,
                      {HasProp(button, kHotProp), (s & BST_PUSHED) != 0, GetFocus() == button,
                       IsWindowEnabled(button) != FALSE});
      if (message == WM_PAINT) EndPaint(button, &ps);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (!HasProp(button, kHotProp)) {
        SetPropW(button, kHotProp, reinterpret_cast<HANDLE>(1));
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, button, 0};
        TrackMouseEvent(&track);
      }
      break;
    case WM_MOUSELEAVE:
      RemovePropW(button, kHotProp);
      break;
    default:
      break;
  }
  const LRESULT result = DefSubclassProc(button, message, wp, lp);
  // The button control paints itself at once on these, in the system's look: paint ours over it.
  switch (message) {
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_CAPTURECHANGED:
    case WM_UPDATEUISTATE:
    case BM_SETSTATE:
    case BM_SETSTYLE:
      RepaintButton(button, state);
      break;
    default:
      break;
  }
  return result;
}

LRESULT HeaderMessage(HWND header, UINT message, WPARAM wp, LPARAM lp, const ThreadSkin& state) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      PAINTSTRUCT ps;
      HDC dc = message == WM_PAINT ? BeginPaint(header, &ps) : reinterpret_cast<HDC>(wp);
      const auto pressed = reinterpret_cast<INT_PTR>(GetPropW(header, kPressedProp));
      PaintHeader(header, dc, state.skin, pressed > 0 ? static_cast<int>(pressed - 1) : -1);
      if (message == WM_PAINT) EndPaint(header, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN: {
      HDHITTESTINFO hit{};
      hit.pt = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      SendMessageW(header, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
      if (hit.iItem >= 0 && (hit.flags & HHT_ONHEADER))
        SetPropW(header, kPressedProp, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(hit.iItem + 1)));
      break;
    }
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      RemovePropW(header, kPressedProp);
      break;
    default:
      break;
  }
  const LRESULT result = DefSubclassProc(header, message, wp, lp);
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_CAPTURECHANGED:
      if (IsWindow(header)) RedrawWindow(header, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      break;
    default:
      break;
  }
  return result;
}

// Drawn by the engine: a visual style would ignore the bar colours. They are set as well, for
// the parts the control may still draw itself.
LRESULT ProgressBarMessage(HWND bar, UINT message, WPARAM wp, LPARAM lp, const ThreadSkin& state) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      PAINTSTRUCT ps;
      HDC dc = message == WM_PAINT ? BeginPaint(bar, &ps) : reinterpret_cast<HDC>(wp);
      PaintProgressBar(bar, dc, state.skin);
      if (message == WM_PAINT) EndPaint(bar, &ps);
      return 0;
    }
    default:
      break;
  }
  const LRESULT result = DefSubclassProc(bar, message, wp, lp);
  // The bar keeps its colours in data it makes on creation.
  if (message == WM_CREATE && result == 0) ColorProgressBar(bar, state.skin);
  return result;
}

LRESULT CALLBACK SkinProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

void ForgetWindow(HWND window) {
  RemoveWindowSubclass(window, SkinProc, kSubclassId);
  RemovePropW(window, kKindProp);
  RemovePropW(window, kHotProp);
  RemovePropW(window, kPressedProp);
}

LRESULT CALLBACK SkinProc(HWND window, UINT message, WPARAM wp, LPARAM lp, UINT_PTR,
                          DWORD_PTR data) {
  if (!t_state) return DefSubclassProc(window, message, wp, lp);
  const ThreadSkin& state = *t_state;
  if (message == WM_NCDESTROY) {
    ForgetWindow(window);
    return DefSubclassProc(window, message, wp, lp);
  }
  switch (static_cast<int>(data)) {
    case kFrame:
      return FrameMessage(window, message, wp, lp, state);
    case kPushButton:
      return ButtonMessage(window, message, wp, lp, state);
    case kHeader:
      return HeaderMessage(window, message, wp, lp, state);
    case kProgressBar:
      return ProgressBarMessage(window, message, wp, lp, state);
    default:
      return DefSubclassProc(window, message, wp, lp);
  }
}

int Subclass(HWND window) {
  const int kind = KindOf(window);
  if (kind != 0 && SetWindowSubclass(window, SkinProc, kSubclassId, static_cast<DWORD_PTR>(kind)))
    SetPropW(window, kKindProp, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(kind)));
  return kind;
}

LRESULT CALLBACK CreationHook(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_CREATEWND && t_state) Subclass(reinterpret_cast<HWND>(wp));
  return CallNextHookEx(nullptr, code, wp, lp);
}

BOOL CALLBACK ForEachChild(HWND window, LPARAM apply) {
  if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId())
    reinterpret_cast<void (*)(HWND)>(apply)(window);
  return TRUE;
}

BOOL CALLBACK ForEachTopLevel(HWND window, LPARAM apply) {
  reinterpret_cast<void (*)(HWND)>(apply)(window);
  EnumChildWindows(window, ForEachChild, apply);
  return TRUE;
}

void ForEachThreadWindow(void (*apply)(HWND)) {
  EnumThreadWindows(GetCurrentThreadId(), ForEachTopLevel, reinterpret_cast<LPARAM>(apply));
}

void ApplyToExisting(HWND window) {
  const auto marked = reinterpret_cast<INT_PTR>(GetPropW(window, kKindProp));
  const int kind = marked != 0 ? static_cast<int>(marked) : Subclass(window);
  if (kind == kProgressBar) ColorProgressBar(window, t_state->skin);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void Unsubclass(HWND window) {
  if (!GetPropW(window, kKindProp)) return;
  ForgetWindow(window);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

}  // namespace

void SetEngineModule(HINSTANCE module) { g_module = module; }

void AttachSkinToThread(const Skin& skin) {
  if (!t_state) t_state = new ThreadSkin{skin, nullptr, nullptr, nullptr};
  ThreadSkin& state = *t_state;
  HBRUSH old_window = state.window_brush, old_edit = state.edit_brush;
  state.skin = skin;
  state.window_brush = CreateSolidBrush(skin.colors[kSkinWindow]);
  state.edit_brush = CreateSolidBrush(skin.colors[kSkinEditBack]);
  if (!state.hook)
    state.hook = SetWindowsHookExW(WH_CBT, CreationHook, g_module, GetCurrentThreadId());
  ForEachThreadWindow(ApplyToExisting);
  // Brushes handed out for WM_CTLCOLOR* are used only while a control paints.
  if (old_window) DeleteObject(old_window);
  if (old_edit) DeleteObject(old_edit);
}

void DetachSkinFromThread() {
  if (!t_state) return;
  if (t_state->hook) UnhookWindowsHookEx(t_state->hook);
  t_state->hook = nullptr;
  ForEachThreadWindow(Unsubclass);
}
