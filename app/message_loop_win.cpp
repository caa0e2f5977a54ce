#include "app/message_loop_win.h"

#include "app/main_window_win.h"

int RunMessageLoop(HWND window) {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (HandleMainWindowKey(window, msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

bool PumpWaitingMessages(HWND window) {
  MSG msg;
  // Look before taking: the quit message must stay queued for the program's own loop.
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) break;
    if (HandleMainWindowKey(window, msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return IsWindow(window) != FALSE;
}
