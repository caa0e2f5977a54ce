// Program entry: start-up, the message loop, the end.
#include <windows.h>

#include <string>

#include "app/dll_table.h"
#include "app/fault.h"
#include "app/main_window_win.h"
#include "app/message_loop_win.h"
#include "app/skin_deploy.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  std::string directory = ProgramDirectory();
  // "C:" alone names the drive's current directory, not its root.
  if (!directory.empty() && directory.back() == ':') directory += '\\';
  SetCurrentDirectoryA(directory.c_str());
  ResetExternalTable();

  HWND window = CreateMainWindow(instance);
  if (!window) RaiseFault("载入启动窗口失败");
  ApplyEmbeddedSkin(3);  // the window's created event: every control exists, nothing is shown
  ShowWindow(window, SW_SHOWNORMAL);
  RunMessageLoop(window);

  ReleaseExternalLibraries();
  return 0;
}
