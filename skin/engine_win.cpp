#include "skin/engine_win.h"

#include <commctrl.h>

#include <cwchar>
#include <unordered_map>

#include "skin/paint_win.h"

namespace {

enum WindowKind { kFrame = 1, kPushButton, kHeader, kProgressBar };

// A window the engine has subclassed: the procedure it had before, and how it is drawn.
struct Subclassed {
  WNDPROC previous;
  int kind;
};

// What one thread's windows are drawn with. Kept for the thread's life once made, so the
// subclasses' reference to it stays valid when a later call replaces the skin.
//
// The subclasses are kept here rather than in window properties (as SetWindowSubclass keeps
// them): under Wine every property lookup is a round trip to the window server, made twice
// for each message a subclassed window gets. A list view sends its header several messages
// for every cell set, so that alone made filling the task list twelve times slower.
struct ThreadSkin {
  Skin skin;
  HBRUSH window_brush;
  HBRUSH edit_brush;
  HHOOK hook;
  std::unordered_map<HWND, Subclassed> windows;
};

HINSTANCE g_module = nullptr;
thread_local ThreadSkin* t_state = nullptr;

const wchar_t kHotProp[] = L"tc.skin.hot";
const wchar_t kPressedProp[] = L"tc.skin.pressed";

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

// The message handed on to the procedure the window had before the engine's.
LRESULT Next(HWND window, UINT message, WPARAM wp, LPARAM lp) {
  if (t_state) {
    const auto it = t_state->windows.find(window);
    if (it != t_state->windows.end() && it->second.previous)
      return CallWindowProcW(it->second.previous, window, message, wp, lp);
  }
  return DefWindowProcW(window, message, wp, lp);
}

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

// WM_PAINT and WM_PRINTCLIENT alike: `paint` draws the whole control on the DC it is given.
template <class Paint>
LRESULT PaintMessage(HWND window, UINT message, WPARAM wp, Paint paint) {
  PAINTSTRUCT ps;
  HDC dc = message == WM_PAINT ? BeginPaint(window, &ps) : reinterpret_cast<HDC>(wp);
  paint(dc);
  if (message == WM_PAINT) EndPaint(window, &ps);
  return 0;
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
  const LRESULT result = Next(window, message, wp, lp);
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
  if (!IsPushButton(button)) return Next(button, message, wp, lp);
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
      return PaintMessage(button, message, wp, [&](HDC dc) {
        const LRESULT s = SendMessageW(button, BM_GETSTATE, 0, 0);
        PaintPushButton(button, dc, state.skin,
                        {HasProp(button, kHotProp), (s & BST_PUSHED) != 0, GetFocus() == button,
                         IsWindowEnabled(button) != FALSE});
      });
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
  const LRESULT result = Next(button, message, wp, lp);
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
    case WM_PRINTCLIENT:
      return PaintMessage(header, message, wp, [&](HDC dc) {
        const auto pressed = reinterpret_cast<INT_PTR>(GetPropW(header, kPressedProp));
        PaintHeader(header, dc, state.skin, pressed > 0 ? static_cast<int>(pressed - 1) : -1);
      });
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
  const LRESULT result = Next(header, message, wp, lp);
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
    case WM_PRINTCLIENT:
      return PaintMessage(bar, message, wp, [&](HDC dc) { PaintProgressBar(bar, dc, state.skin); });
    default:
      break;
  }
  const LRESULT result = Next(bar, message, wp, lp);
  // The bar keeps its colours in data it makes on creation.
  if (message == WM_CREATE && result == 0) ColorProgressBar(bar, state.skin);
  return result;
}

LRESULT CALLBACK SkinProc(HWND window, UINT message, WPARAM wp, LPARAM lp);

// Gives the window its own procedure back, when no later subclass sits on top of ours; one
// that does keeps calling ours, which then only hands messages on.
void ForgetWindow(HWND window) {
  const auto it = t_state->windows.find(window);
  if (it == t_state->windows.end()) return;
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) == SkinProc) {
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(it->second.previous));
    t_state->windows.erase(it);
  } else {
    it->second.kind = 0;
  }
  RemovePropW(window, kHotProp);
  RemovePropW(window, kPressedProp);
}

LRESULT CALLBACK SkinProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
  if (!t_state) return DefWindowProcW(window, message, wp, lp);
  const auto it = t_state->windows.find(window);
  if (it == t_state->windows.end()) return DefWindowProcW(window, message, wp, lp);
  const ThreadSkin& state = *t_state;
  if (message == WM_NCDESTROY) {
    const WNDPROC previous = it->second.previous;
    t_state->windows.erase(it);
    RemovePropW(window, kHotProp);
    RemovePropW(window, kPressedProp);
    return CallWindowProcW(previous, window, message, wp, lp);
  }
  switch (it->second.kind) {
    case kFrame:
      return FrameMessage(window, message, wp, lp, state);
    case kPushButton:
      return ButtonMessage(window, message, wp, lp, state);
    case kHeader:
      return HeaderMessage(window, message, wp, lp, state);
    case kProgressBar:
      return ProgressBarMessage(window, message, wp, lp, state);
    default:
      return Next(window, message, wp, lp);
  }
}

// The kind the window is drawn as, subclassing it first if it is not yet.
int Subclass(HWND window) {
  const auto it = t_state->windows.find(window);
  if (it != t_state->windows.end()) {
    if (it->second.kind == 0) it->second.kind = KindOf(window);  // left on when last detached
    return it->second.kind;
  }
  const int kind = KindOf(window);
  if (kind == 0) return 0;
  const auto previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SkinProc)));
  if (!previous) return 0;
  t_state->windows[window] = {previous, kind};
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
  const int kind = Subclass(window);
  if (kind == kProgressBar) ColorProgressBar(window, t_state->skin);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void Unsubclass(HWND window) {
  if (!t_state->windows.count(window)) return;
  ForgetWindow(window);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

}  // namespace

void SetEngineModule(HINSTANCE module) { g_module = module; }

void AttachSkinToThread(const Skin& skin) {
  if (!t_state) t_state = new ThreadSkin{skin, nullptr, nullptr, nullptr, {}};
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
