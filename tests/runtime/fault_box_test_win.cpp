// The fault box as the user sees it: a child process binds an entry that cannot be bound; the
// test finds the child's box by its caption, reads its text, checks the icon and the one OK
// button, presses OK and checks that the child ends with exit code -1. Needs a display (the
// test script starts Xvfb).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/dll_table.h"
#include "app/fault.h"
#include "tests/support/child_windows_win.h"

namespace {

// Only a guard against a hung child; nothing here measures time.
const DWORD kPatienceMs = 60000;

// 32-bit pixels of a width x height picture drawn by `draw` into a fresh bitmap.
template <class Draw>
std::vector<DWORD> Pixels(int width, int height, Draw draw) {
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bmp);
  draw(dc);
  GdiFlush();
  std::vector<DWORD> out(static_cast<const DWORD*>(bits),
                         static_cast<const DWORD*>(bits) + static_cast<size_t>(width) * height);
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  return out;
}

// Pixels differing by more than a little in any channel.
size_t Differences(const std::vector<DWORD>& a, const std::vector<DWORD>& b) {
  size_t n = 0;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    for (int shift = 0; shift < 24; shift += 8) {
      const int x = (a[i] >> shift) & 0xFF, y = (b[i] >> shift) & 0xFF;
      if (x - y > 8 || y - x > 8) {
        ++n;
        break;
      }
    }
  }
  return n;
}

// Another process's icon handle cannot be inspected from here, so the icon is recognised on
// the screen: it must look like this process's own rendering of the system's error icon, and
// more like it than like the warning, information and question icons.
bool ShowsErrorIcon(HWND icon_static) {
  RECT r;
  GetClientRect(icon_static, &r);
  POINT origin = {0, 0};
  ClientToScreen(icon_static, &origin);
  const int w = r.right, h = r.bottom;
  if (w <= 0 || h <= 0) return false;
  const std::vector<DWORD> shown = Pixels(w, h, [&](HDC dc) {
    HDC screen = GetDC(nullptr);
    BitBlt(dc, 0, 0, w, h, screen, origin.x, origin.y, SRCCOPY);
    ReleaseDC(nullptr, screen);
  });
  const COLORREF corner = RGB(GetBValue(shown[0]), GetGValue(shown[0]), GetRValue(shown[0]));
  auto differences_from = [&](int id) {
    return Differences(shown, Pixels(w, h, [&](HDC dc) {
                         HBRUSH brush = CreateSolidBrush(corner);
                         RECT all = {0, 0, w, h};
                         FillRect(dc, &all, brush);
                         DeleteObject(brush);
                         DrawIconEx(dc, 0, 0, LoadIconW(nullptr, MAKEINTRESOURCEW(id)), 0, 0, 0,
                                    nullptr, DI_NORMAL);
                       }));
  };
  const size_t error = differences_from(32513);
  bool best = error * 20 <= shown.size();  // at most 5% of the pixels differ
  for (int other : {32514, 32515, 32516}) best = best && error < differences_from(other);
  if (!best) std::fprintf(stderr, "icon: %zu of %zu pixels differ from the error icon\n", error, shown.size());
  return best;
}

struct Box {
  std::string text;    // CP936, as the program composed it
  bool error_icon = false;
  std::vector<int> buttons;
};

Box ReadBox(HWND box) {
  Box b;
  for (HWND c : ChildWindows(box)) {
    const std::wstring cls = ClassName(c);
    if (lstrcmpiW(cls.c_str(), L"Static") == 0) {
      if ((GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        b.error_icon = b.error_icon || ShowsErrorIcon(c);
      } else if (!WindowText(c).empty()) {
        b.text = ToCp936(WindowText(c));
      }
    } else if (lstrcmpiW(cls.c_str(), L"Button") == 0) {
      b.buttons.push_back(GetDlgCtrlID(c));
    }
  }
  return b;
}

class FaultBoxTest : public testing::Test {
 protected:
  void SetUp() override {
    char display[256];
    ASSERT_GT(GetEnvironmentVariableA("DISPLAY", display, sizeof display), 0u)
        << "the fault box needs a display: run under tools/test.sh or export DISPLAY";
  }

  // Starts the child in `mode`, checks its box shows `message` and closes it with OK;
  // returns the child's exit code.
  DWORD RunChild(const std::string& mode, const std::string& message) {
    std::string cmd = "\"" + ProgramDirectory() + "\\runtime_fault_child.exe\" " + mode;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
      ADD_FAILURE() << "cannot start " << cmd;
      return 0;
    }
    CloseHandle(pi.hThread);
    HWND box = nullptr;
    for (DWORD waited = 0; !box && waited < kPatienceMs; waited += 100) {
      if (WaitForSingleObject(pi.hProcess, 100) == WAIT_OBJECT_0) break;
      box = FindShownWindow(pi.dwProcessId, L"#32770", TitleIs::kEqual, "错误");
    }
    DWORD code = 0;
    if (!box) {
      GetExitCodeProcess(pi.hProcess, &code);
      ADD_FAILURE() << mode << ": no fault box; child exit code " << code;
    } else {
      // Painted before it is read: the icon is recognised on the screen.
      RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      const Box b = ReadBox(box);
      EXPECT_EQ(b.text, FaultBoxText(message)) << mode;
      EXPECT_TRUE(b.error_icon) << mode;
      EXPECT_EQ(b.buttons, std::vector<int>{IDOK}) << mode;
      // The box stays, and holds the child, until it is closed: a round trip through the
      // child's message loop must find it still there.
      DWORD_PTR ignored = 0;
      SendMessageTimeoutW(box, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kPatienceMs, &ignored);
      EXPECT_TRUE(IsWindowVisible(box)) << mode;
      EXPECT_EQ(WaitForSingleObject(pi.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << mode;
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
      if (WaitForSingleObject(pi.hProcess, kPatienceMs) != WAIT_OBJECT_0)
        ADD_FAILURE() << mode << ": child still running after OK";
      GetExitCodeProcess(pi.hProcess, &code);
    }
    if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    return code;
  }
};

TEST_F(FaultBoxTest, MissingLibrary) {
  EXPECT_EQ(RunChild("missing-library", "无法找到指定DLL库文件“tc_absent.dll”中的输出命令“ProbeValue”"),
            0xFFFFFFFFu);
}

TEST_F(FaultBoxTest, MissingFunction) {
  EXPECT_EQ(RunChild("missing-function", "无法找到指定DLL库文件“tcprobe.dll”中的输出命令“NoSuchExport”"),
            0xFFFFFFFFu);
}

// The program directory's copy lacks the function; the copy reachable by search has it, and
// is still not used.
TEST_F(FaultBoxTest, LibraryInProgramDirectoryLackingTheFunctionIsNotPassedOver) {
  EXPECT_EQ(RunChild("local-lacks-function",
                     "无法找到指定DLL库文件“tcprobe.dll”中的输出命令“OnlyElsewhere”"),
            0xFFFFFFFFu);
}

TEST_F(FaultBoxTest, FunctionInNoSystemLibrary) {
  EXPECT_EQ(RunChild("no-library", "无法找到指定DLL库文件中的输出命令“NoSuchExport”"), 0xFFFFFFFFu);
}

TEST_F(FaultBoxTest, ShownEvenWhenTheQuitMessageIsWaiting) {
  EXPECT_EQ(RunChild("quit-pending", "无法找到指定DLL库文件“tc_absent.dll”中的输出命令“ProbeValue”"),
            0xFFFFFFFFu);
}

// WinINet made unloadable for the child alone, through Wine's per-program load order (a
// disabled library has an empty value), as on a system without it.
TEST_F(FaultBoxTest, ProgramTableWithoutWinInet) {
  const char* key = "Software\\Wine\\AppDefaults\\runtime_fault_child.exe\\DllOverrides";
  HKEY k = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k,
                            nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(k, "wininet", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
  RegCloseKey(k);
  const DWORD code =
      RunChild("program-table", "无法找到指定DLL库文件“wininet.dll”中的输出命令“InternetOpenA”");
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\runtime_fault_child.exe");
  EXPECT_EQ(code, 0xFFFFFFFFu);
}

}  // namespace
