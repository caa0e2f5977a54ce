// The main window: its controls, where they sit, and the routing of its events.
#pragma once
#include <windows.h>

#include <string>

// Control ids. 1 and 2 stay unused: the dialog manager means IDOK and IDCANCEL by them.
enum MainControlId {
  kIdPageLabel = 100,
  kIdPageCount,
  kIdAddressLabel,
  kIdAddress,
  kIdProgress,
  kIdTaskList,
  kIdScratch,
  kIdButton1 = 201,  // 按钮1 .. 按钮9: the listing commands, in the command table's order
  kIdButton10 = 210,  // 按钮10: the typed address
};

constexpr int kMainWindowWidth = 983;   // outer size, frame and caption included
constexpr int kMainWindowHeight = 495;

// What the window keeps, reached through GWLP_USERDATA.
struct MainWindow {
  HWND window = nullptr;
  HWND pageCount = nullptr;  // 编辑框_页数
  HWND address = nullptr;    // 编辑框_地址
  HWND taskList = nullptr;   // 超级列表框1
  HWND progress = nullptr;   // 进度条1
  HWND scratch = nullptr;    // 编辑框1
};

// Where a window of `windowSize` starts so as to be centred on `screenSize`: signed division
// truncating toward zero, so a screen smaller than the window gives a negative start (800 x 600:
// -91, 52) that is left as it is.
int CentredStart(int screenSize, int windowSize);

extern const wchar_t kMainWindowClass[];
std::string MainWindowCaption();  // CP936

// The window with every control in its start state, centred on the primary screen, not yet
// shown; null when it cannot be created.
HWND CreateMainWindow(HINSTANCE instance);
// The window's state; null for any other window, or once it is destroyed.
const MainWindow* MainWindowOf(HWND window);

// The keys the window handles itself, whichever control has the focus: Esc alone closes it,
// Tab and Shift+Tab move the focus. True when `msg` was used up here.
bool HandleMainWindowKey(HWND window, const MSG& msg);
