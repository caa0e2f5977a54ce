#include "app/main_window_win.h"

#include <commctrl.h>

#include "app/commands_win.h"
#include "app/controls_win.h"
#include "app/wide_text_win.h"
#include "collect/listings.h"

const wchar_t kMainWindowClass[] = L"TaskCollectorMainWindow";

namespace {

constexpr int kIconId = 1;

struct ControlLayout {
  int id;
  const wchar_t* kind;
  const char* text;  // CP936; buttons 1-9 take theirs from the command table
  int left, top, width, height;
  DWORD style;
  DWORD exStyle;
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kLineEdit = kChild | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
constexpr DWORD kButton = kChild | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER;
// No LVS_NOSORTHEADER (the header can be clicked, and sorts nothing) and no
// LVS_SHOWSELALWAYS (the selection shows only while the list has the focus).
constexpr DWORD kList = kChild | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL;
// Hidden for good; wraps at its width (no ES_AUTOHSCROLL) and keeps line breaks.
constexpr DWORD kScratch = WS_CHILD | WS_TABSTOP | WS_VSCROLL | ES_LEFT | ES_MULTILINE |
                           ES_AUTOVSCROLL | ES_WANTRETURN;

// Creation order is the Tab order.
const ControlLayout kControls[] = {
    {kIdPageLabel, L"STATIC", "页数：", 617, 0, 32, 24, kChild | SS_LEFT, 0},
    {kIdPageCount, L"EDIT", "1", 679, 0, 105, 24, kLineEdit, WS_EX_CLIENTEDGE},
    {kIdButton10, L"BUTTON", "地址采集", 880, 19, 80, 29, kButton, 0},
    {kIdAddressLabel, L"STATIC", "青石坊采集地址", 32, 5, 96, 16, kChild | SS_LEFT, 0},
    {kIdAddress, L"EDIT", "", 133, 2, 443, 22, kLineEdit, WS_EX_CLIENTEDGE},
    {kIdButton1 + 8, L"BUTTON", nullptr, 885, 235, 80, 24, kButton, 0},
    {kIdProgress, PROGRESS_CLASSW, "", -8, 443, 976, 24, kChild, WS_EX_STATICEDGE},
    {kIdButton1 + 7, L"BUTTON", nullptr, 880, 99, 88, 24, kButton, 0},
    {kIdButton1 + 6, L"BUTTON", nullptr, 880, 346, 88, 24, kButton, 0},
    {kIdButton1 + 5, L"BUTTON", nullptr, 880, 311, 88, 24, kButton, 0},
    {kIdButton1 + 4, L"BUTTON", nullptr, 880, 273, 88, 24, kButton, 0},
    {kIdButton1 + 3, L"BUTTON", nullptr, 880, 195, 88, 24, kButton, 0},
    {kIdButton1 + 2, L"BUTTON", nullptr, 880, 163, 88, 24, kButton, 0},
    {kIdButton1 + 1, L"BUTTON", nullptr, 880, 131, 88, 24, kButton, 0},
    {kIdButton1, L"BUTTON", nullptr, 880, 67, 88, 24, kButton, 0},
    {kIdTaskList, WC_LISTVIEWW, "", 0, 32, 872, 411, kList, WS_EX_CLIENTEDGE},
    {kIdScratch, L"EDIT", "", 144, 187, 248, 173, kScratch, WS_EX_CLIENTEDGE},
};

struct ColumnSpec {
  const char* title;
  int width;
};
// The address column is 5 pixels wide on purpose: practically hidden, read by the double-click.
const ColumnSpec kColumns[] = {{"序号", 40}, {"标题", 350}, {"要求", 470}, {"地址", 5}};

std::string ControlCaption(const ControlLayout& layout) {
  if (layout.text) return layout.text;
  return ListingCommands()[static_cast<size_t>(layout.id - kIdButton1)].caption;
}

MainWindow* StateOf(HWND window) {
  return reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void SetUpTaskList(HWND list) {
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES,
               LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  SendMessageW(list, LVM_SETTEXTCOLOR, 0, RGB(0, 0, 255));
  SendMessageW(list, LVM_SETTEXTBKCOLOR, 0, RGB(255, 255, 255));
  SendMessageW(list, LVM_SETBKCOLOR, 0, RGB(128, 160, 128));
  int column = 0;
  for (const ColumnSpec& c : kColumns) ListAddColumn(list, column++, c.title, c.width);
}

void SetUpControl(MainWindow& state, int id, HWND control) {
  switch (id) {
    case kIdPageCount: state.pageCount = control; break;
    case kIdAddress: state.address = control; break;
    case kIdTaskList: state.taskList = control; SetUpTaskList(control); break;
    case kIdProgress:
      state.progress = control;
      SendMessageW(control, PBM_SETRANGE32, 0, 100);
      SendMessageW(control, PBM_SETPOS, 0, 0);
      break;
    case kIdScratch: state.scratch = control; break;
    default: break;
  }
  // Largest limit the edit control allows: neither typing nor appending is ever cut short.
  if (id == kIdPageCount || id == kIdAddress || id == kIdScratch) SendMessageW(control, EM_SETLIMITTEXT, 0, 0);
}

// The state is made here and freed on WM_NCDESTROY, so a creation that fails at any step
// leaves nothing behind.
void OnNcCreate(HWND window) {
  auto* state = new MainWindow;
  state->window = window;
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
}

LRESULT OnCreate(HWND window) {
  MainWindow* state = StateOf(window);
  if (!state) return -1;
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
  const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
  for (const ControlLayout& layout : kControls) {
    HWND control = CreateWindowExW(layout.exStyle, layout.kind, WideFromCp936(ControlCaption(layout)).c_str(),
                                   layout.style, layout.left, layout.top, layout.width, layout.height, window,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), instance, nullptr);
    if (!control) return -1;  // CreateWindowEx then fails, and start-up reports it
    SendMessageW(control, WM_SETFONT, font, FALSE);
    SetUpControl(*state, layout.id, control);
  }
  SendMessageW(window, WM_SETFONT, font, FALSE);
  return 0;
}

void OnCommand(HWND window, int id, int code) {
  if (code != BN_CLICKED) return;
  if (id >= kIdButton1 && id < kIdButton10) RunListingCommand(window, id - kIdButton1 + 1);
  if (id == kIdButton10) RunAddressCommand(window);
}

LRESULT OnNotify(HWND window, const NMHDR& header) {
  // Change of the current row and header clicks: bound to nothing.
  if (header.idFrom == kIdTaskList && header.code == NM_DBLCLK) OpenTaskAddress(window);
  return 0;
}

void OnNcDestroy(HWND window) {
  delete StateOf(window);
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE: OnNcCreate(window); break;
    case WM_CREATE: return OnCreate(window);
    case WM_COMMAND: OnCommand(window, LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_NOTIFY: return OnNotify(window, *reinterpret_cast<const NMHDR*>(lParam));
    case WM_HELP: return TRUE;  // F1 means nothing here
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_NCDESTROY: OnNcDestroy(window); break;
    default: break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HICON LoadAppIcon(HINSTANCE instance, int widthMetric, int heightMetric) {
  return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconId), IMAGE_ICON,
                                       GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric), 0));
}

bool RegisterMainWindowClass(HINSTANCE instance) {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = MainWindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadAppIcon(instance, SM_CXICON, SM_CYICON);
  wc.hIconSm = LoadAppIcon(instance, SM_CXSMICON, SM_CYSMICON);
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW, in its wide form
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = kMainWindowClass;
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool ModifierDown() {
  return GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
}

}  // namespace

int CentredStart(int screenSize, int windowSize) { return (screenSize - windowSize) / 2; }

std::string MainWindowCaption() { return "青石坊软件需求定单网-------BY:task-collector 开发组"; }

HWND CreateMainWindow(HINSTANCE instance) {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);
  if (!RegisterMainWindowClass(instance)) return nullptr;
  const int left = CentredStart(GetSystemMetrics(SM_CXSCREEN), kMainWindowWidth);
  const int top = CentredStart(GetSystemMetrics(SM_CYSCREEN), kMainWindowHeight);
  HWND window = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW, kMainWindowClass,
                                WideFromCp936(MainWindowCaption()).c_str(),
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                                left, top, kMainWindowWidth, kMainWindowHeight, nullptr, nullptr, instance, nullptr);
  if (!window) return nullptr;
  // The class icons are drawn scaled; handing them to the window too makes both sizes explicit.
  SendMessageW(window, WM_SETICON, ICON_BIG, GetClassLongPtrW(window, GCLP_HICON));
  SendMessageW(window, WM_SETICON, ICON_SMALL, GetClassLongPtrW(window, GCLP_HICONSM));
  return window;
}

const MainWindow* MainWindowOf(HWND window) {
  if (!IsWindow(window)) return nullptr;
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (lstrcmpW(name, kMainWindowClass) != 0) return nullptr;
  return StateOf(window);
}

bool HandleMainWindowKey(HWND window, const MSG& msg) {
  if (msg.message != WM_KEYDOWN || !IsWindow(window)) return false;
  if (msg.hwnd != window && !IsChild(window, msg.hwnd)) return false;
  if (msg.wParam == VK_ESCAPE) {
    if (ModifierDown()) return false;
    SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);  // as the close button does
    return true;
  }
  if (msg.wParam == VK_TAB) {
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
    HWND focus = GetFocus();
    if (focus && (SendMessageW(focus, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&msg)) & DLGC_WANTTAB)) return false;
    HWND next = GetNextDlgTabItem(window, focus, GetKeyState(VK_SHIFT) < 0);
    if (next) {
      SetFocus(next);
      // As a dialog does: an edit box reached by Tab has its text selected.
      if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(next, EM_SETSEL, 0, -1);
    }
    return true;
  }
  return false;
}
