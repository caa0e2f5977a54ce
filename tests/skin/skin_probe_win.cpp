// A stand-in for the program's start: a window with controls is created, its created event runs
// the skin set-up, and only then is it shown. Prints "shown" when it gets that far, so a test
// can tell that a fault ended it before. Argument: the skin number (default 3).
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "app/dll_table.h"
#include "app/skin_deploy.h"

int main(int argc, char** argv) {
  SetCurrentDirectoryA(ProgramDirectory().c_str());
  ResetExternalTable();
  HWND window = CreateWindowExW(0, L"#32770", L"skin probe", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                                10, 10, 300, 200, nullptr, nullptr, nullptr, nullptr);
  CreateWindowExW(0, L"Button", L"OK", WS_CHILD | WS_VISIBLE, 10, 10, 80, 24, window, nullptr,
                  nullptr, nullptr);
  ApplyEmbeddedSkin(argc > 1 ? std::atoi(argv[1]) : 3);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  std::printf("shown\n");
  std::fflush(stdout);
  DestroyWindow(window);
  ReleaseExternalLibraries();
  return 0;
}
