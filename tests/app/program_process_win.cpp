#include "tests/app/program_process_win.h"

#include <commctrl.h>


ProgramProcess StartProgram(const std::wstring& exePath) {
  ProgramProcess program;
  std::wstring commandLine = L"\"" + exePath + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  program.started = CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &program.info) != FALSE;
  return program;
}

DWORD WaitForExit(const ProgramProcess& program, DWORD timeoutMs) {
  if (WaitForSingleObject(program.info.hProcess, timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(program.info.hProcess, &code);
  return code;
}

void StopProgram(ProgramProcess& program) {
  if (!program.started) return;
  if (WaitForSingleObject(program.info.hProcess, 0) != WAIT_OBJECT_0) {
    TerminateProcess(program.info.hProcess, 99);
    WaitForSingleObject(program.info.hProcess, 10000);
  }
  CloseHandle(program.info.hThread);
  CloseHandle(program.info.hProcess);
  program.started = false;
}

namespace {
struct WindowSearch {
  DWORD processId;
  const wchar_t* className;
  const wchar_t* caption;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<WindowSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != search.processId) return TRUE;
  wchar_t name[128] = {};
  GetClassNameW(window, name, 128);
  if (lstrcmpiW(name, search.className) != 0) return TRUE;
  if (search.caption && TextOfWindow(window) != search.caption) return TRUE;
  search.found = window;
  return FALSE;
}

// A buffer in the other process, freed with it.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, size_t size)
      : process_(process), address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
  ~RemoteBuffer() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  char* at(size_t offset) const { return static_cast<char*>(address_) + offset; }
  void Write(size_t offset, const void* data, size_t size) const {
    WriteProcessMemory(process_, at(offset), data, size, nullptr);
  }
  void Read(size_t offset, void* data, size_t size) const {
    ReadProcessMemory(process_, at(offset), data, size, nullptr);
  }

 private:
  HANDLE process_;
  void* address_;
};
}  // namespace

HWND WaitForWindow(DWORD processId, const wchar_t* className, const wchar_t* caption, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  do {
    WindowSearch search = {processId, className, caption, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found && IsWindowVisible(search.found)) return search.found;
    Sleep(100);
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

std::wstring TextOfWindow(HWND window) {
  wchar_t buffer[2048] = {};
  const LRESULT n = SendMessageW(window, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(buffer));
  return std::wstring(buffer, static_cast<size_t>(n > 0 ? n : 0));
}

std::wstring RemoteListCell(HANDLE process, HWND list, int row, int column) {
  constexpr int kChars = 4096;
  RemoteBuffer remote(process, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
  LVITEMW item = {};
  item.iSubItem = column;
  item.pszText = reinterpret_cast<wchar_t*>(remote.at(sizeof item));
  item.cchTextMax = kChars;
  remote.Write(0, &item, sizeof item);
  const LRESULT n = SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote.at(0)));
  std::wstring text(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) remote.Read(sizeof item, text.data(), text.size() * sizeof(wchar_t));
  return text;
}

void RemoteSelectRow(HANDLE process, HWND list, int row) {
  RemoteBuffer remote(process, sizeof(LVITEMW));
  LVITEMW item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  remote.Write(0, &item, sizeof item);
  SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(remote.at(0)));
}

RECT RemoteItemRect(HANDLE process, HWND list, int row) {
  RemoteBuffer remote(process, sizeof(RECT));
  RECT rect = {LVIR_BOUNDS, 0, 0, 0};
  remote.Write(0, &rect, sizeof rect);
  SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(remote.at(0)));
  remote.Read(0, &rect, sizeof rect);
  return rect;
}

std::wstring WindowsPath(const std::string& unixPath) {
  std::wstring path = L"Z:";
  for (char c : unixPath) path += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
  return path;
}

bool SaveWindowShot(HWND window, const std::wstring& bmpPath) {
  // The screen is shared with the other window tests: put this window on top of them and give
  // its program time to paint.
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  Sleep(1500);
  RECT r;
  GetWindowRect(window, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as the file wants it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) & ~3u);
  const DWORD imageSize = stride * static_cast<DWORD>(height);
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + imageSize;
  bool ok = false;
  HANDLE out = CreateFileW(bmpPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (out != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    ok = WriteFile(out, &file, sizeof file, &written, nullptr) &&
         WriteFile(out, &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr) &&
         WriteFile(out, bits, imageSize, &written, nullptr);
    CloseHandle(out);
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ok;
}
