#include <windows.h>

#include "app/dll_table.h"
#include "app/fault.h"

namespace {
// Converted here directly, not through the table: the fault may be that the table's
// conversion entry itself cannot be bound.
std::wstring FromCp936(const std::string& s) {
  if (s.empty()) return std::wstring();
  const int n = MultiByteToWideChar(936, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(936, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return w;
}
}  // namespace

void RaiseFault(const std::string& message) {
  // A quit message already waiting (the window was closed during a collection) would end the
  // box's own message loop at once, before anyone could read it. The process ends anyway.
  MSG quit;
  while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  MessageBoxW(nullptr, FromCp936(FaultBoxText(message)).c_str(), FromCp936("错误").c_str(),
              MB_OK | MB_ICONERROR | MB_TASKMODAL);
  ReleaseExternalLibraries();
  ExitProcess(static_cast<UINT>(-1));
}
