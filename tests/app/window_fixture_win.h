// A real main window in the test process, shown on the test display, destroyed afterwards.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/main_window_win.h"

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = CreateMainWindow(GetModuleHandleW(nullptr));
    ASSERT_NE(window_, nullptr);
    state_ = MainWindowOf(window_);
    ASSERT_NE(state_, nullptr);
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
    Drain();
  }
  void TearDown() override {
    if (IsWindow(window_)) DestroyWindow(window_);
    // Destroying the window posts the quit message; the next test's pumps must not see it.
    Drain();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }
  // Dispatches what waits, as the program's loop would.
  static void Drain() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
      PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  HWND Control(int id) const { return GetDlgItem(window_, id); }
  void Click(int id) const {
    SendMessageW(window_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Control(id)));
  }
  void SetText(int id, const wchar_t* text) const { SetWindowTextW(Control(id), text); }

  HWND window_ = nullptr;
  const MainWindow* state_ = nullptr;
};

inline std::wstring WindowTextW(HWND control) {
  wchar_t buffer[1024] = {};
  const int n = GetWindowTextW(control, buffer, 1024);
  return std::wstring(buffer, static_cast<size_t>(n));
}
