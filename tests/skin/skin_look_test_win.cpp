// The engine at work on real windows under Wine: a window laid out like the program's main
// window is skinned with skin 3, captured from the screen and measured at known pixels; windows
// made later are skinned too; an unreadable skin changes nothing; and all 33 skins are shown
// side by side in one contact sheet. Screenshots are left in the test's directory
// (skin03_window.bmp, skin_contact_sheet.bmp). Needs a display; runs on a Wine virtual desktop
// (look_desktop.sh) so that Wine draws the frames and the caption bar can be measured.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/dll_table.h"
#include "skin/skin_format.h"
#include "tests/skin/screen_shot_win.h"
#include "tests/support/child_windows_win.h"

namespace {

using Bytes = std::vector<unsigned char>;
using AttachRes = int(__stdcall*)(const unsigned char*, int, const char*, int, int, int);

std::string Fixture(const std::string& name) { return ProgramDirectory() + "\\fixtures\\" + name; }

Bytes SkinImage(int n) {
  char name[32];
  std::snprintf(name, sizeof name, "skin%02d.she", n);
  return ReadAll(Fixture(name));
}

AttachRes Engine() {
  static HMODULE engine = LoadLibraryA(Fixture("engine\\SkinH_EL.dll").c_str());
  return engine ? reinterpret_cast<AttachRes>(reinterpret_cast<void*>(GetProcAddress(engine, "SkinH_AttachRes")))
                : nullptr;
}

// Attaches as the program does: a fresh copy, freed (and scribbled over) right after the call.
void Attach(const Bytes& image) {
  std::unique_ptr<unsigned char[]> copy(new unsigned char[image.size() + 1]);
  std::copy(image.begin(), image.end(), copy.get());
  Engine()(image.empty() ? nullptr : copy.get(), static_cast<int>(image.size()), "", 0, 0, 0);
  std::fill(copy.get(), copy.get() + image.size(), 0xDD);
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

HWND Control(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w,
             int h, DWORD ex_style = 0) {
  HWND c = CreateWindowExW(ex_style, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           nullptr, nullptr, nullptr);
  SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  return c;
}

LRESULT CALLBACK PlainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }

HWND Frame(const wchar_t* title, int x, int y, int w, int h) {
  static const ATOM atom = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PlainProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.lpszClassName = L"TcSkinLookFrame";
    return RegisterClassW(&wc);
  }();
  (void)atom;
  return CreateWindowExW(0, L"TcSkinLookFrame", title,
                         WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, x, y, w, h,
                         nullptr, nullptr, nullptr, nullptr);
}

// The main window's kinds of controls at the main window's places.
struct MainLike {
  HWND window, label, button, list, progress, edit;
};

MainLike MakeMainLike() {
  MainLike m{};
  m.window = Frame(L"青石坊软件需求定单网-------BY:skin test", 20, 136, 983, 495);
  m.label = Control(m.window, L"Static", L"青石坊采集地址", 0, 32, 5, 96, 16);
  m.edit = Control(m.window, L"Edit", L"", ES_AUTOHSCROLL | WS_TABSTOP, 133, 2, 443, 22, WS_EX_CLIENTEDGE);
  Control(m.window, L"Static", L"页数：", 0, 617, 0, 32, 24);
  Control(m.window, L"Edit", L"1", ES_AUTOHSCROLL | WS_TABSTOP, 679, 0, 105, 24, WS_EX_CLIENTEDGE);
  Control(m.window, L"Button", L"地址采集", WS_TABSTOP, 880, 19, 80, 29);
  m.button = Control(m.window, L"Button", L"青石坊接单网", WS_TABSTOP, 880, 67, 88, 24);
  const wchar_t* names[] = {L"己托管", L"桌面软件", L"多媒体软件", L"办公自动化OA"};
  const int tops[] = {99, 131, 163, 195};
  for (int i = 0; i < 4; ++i) Control(m.window, L"Button", names[i], WS_TABSTOP, 880, tops[i], 88, 24);
  m.list = Control(m.window, WC_LISTVIEWW, L"", LVS_REPORT | LVS_SINGLESEL | WS_TABSTOP, 0, 32, 872, 411,
                   WS_EX_CLIENTEDGE);
  SendMessageW(m.list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  SendMessageW(m.list, LVM_SETTEXTCOLOR, 0, RGB(0, 0, 255));
  SendMessageW(m.list, LVM_SETTEXTBKCOLOR, 0, RGB(255, 255, 255));
  SendMessageW(m.list, LVM_SETBKCOLOR, 0, RGB(128, 160, 128));
  const wchar_t* titles[] = {L"序号", L"标题", L"要求", L"地址"};
  const int widths[] = {40, 350, 470, 5};
  for (int i = 0; i < 4; ++i) {
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.pszText = const_cast<wchar_t*>(titles[i]);
    col.cx = widths[i];
    SendMessageW(m.list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&col));
  }
  for (int row = 0; row < 2; ++row) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<wchar_t*>(row == 0 ? L"1" : L"2");
    SendMessageW(m.list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    item.iSubItem = 1;
    item.pszText = const_cast<wchar_t*>(L"企业官网改版，需要响应式布局");
    SendMessageW(m.list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  }
  m.progress = Control(m.window, PROGRESS_CLASSW, L"", 0, -8, 443, 976, 24);
  SendMessageW(m.progress, PBM_SETPOS, 40, 0);
  return m;
}

POINT ToScreen(HWND w, int x, int y) {
  POINT p{x, y};
  ClientToScreen(w, &p);
  return p;
}

class SkinLookTest : public testing::Test {
 protected:
  void SetUp() override {
    char display[256];
    ASSERT_GT(GetEnvironmentVariableA("DISPLAY", display, sizeof display), 0u)
        << "needs a display: run under tools/test.sh or export DISPLAY";
    ASSERT_NE(Engine(), nullptr) << "the built engine, or its SkinH_AttachRes, is missing";
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
  }
};

// Windows the thread had before the skin and windows made after it both take it on; the list
// keeps the program's own colours.
TEST_F(SkinLookTest, SkinThreeOnAWindowLikeTheMainWindow) {
  const auto skin = ParseSkin(SkinImage(3).data(), SkinImage(3).size());
  ASSERT_TRUE(skin);
  std::thread([&] {
    const MainLike m = MakeMainLike();
    Attach(SkinImage(3));
    ShowWindow(m.window, SW_SHOW);
    UpdateWindow(m.window);
    Pump();
    RECT outer;
    GetWindowRect(m.window, &outer);
    const Shot shot = Capture(outer);
    SaveBmp(shot, ProgramDirectory() + "\\skin03_window.bmp");
    const uint32_t* c = skin->colors;
    RECT r;

    POINT p = ToScreen(m.window, 920, 420);  // below the buttons, right of the list
    EXPECT_EQ(Hex(shot.At(p.x, p.y)), Hex(c[kSkinWindow])) << "window background";
    p = ToScreen(m.window, 126, 12);  // inside the label, right of its text
    EXPECT_EQ(Hex(shot.At(p.x, p.y)), Hex(c[kSkinWindow])) << "label background";

    p = ToScreen(m.window, 882, 67 + 12);  // the button's face, left of its caption
    EXPECT_TRUE(Between(shot.At(p.x, p.y), c[kSkinFaceTop], c[kSkinFaceBottom]))
        << "button face " << Hex(shot.At(p.x, p.y)) << " between " << Hex(c[kSkinFaceTop])
        << " and " << Hex(c[kSkinFaceBottom]);
    EXPECT_NE(Hex(shot.At(p.x, p.y)), Hex(GetSysColor(COLOR_BTNFACE)));
    p = ToScreen(m.window, 880 + 44, 67);  // the middle of the button's top edge
    EXPECT_EQ(Hex(shot.At(p.x, p.y)), Hex(c[kSkinBorder])) << "button border";

    // Under the mouse, then held down: the engine's hot and pressed faces.
    SendMessageW(m.button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    Pump();
    GetWindowRect(m.button, &r);
    p = ToScreen(m.button, 2, 12);
    COLORREF face = Capture(r).At(p.x, p.y);
    EXPECT_TRUE(Between(face, c[kSkinHotTop], c[kSkinHotBottom])) << "hot face " << Hex(face);
    SendMessageW(m.button, BM_SETSTATE, TRUE, 0);
    Pump();
    face = Capture(r).At(p.x, p.y);
    EXPECT_TRUE(Between(face, c[kSkinPressedTop], c[kSkinPressedBottom])) << "pressed face " << Hex(face);
    SendMessageW(m.button, BM_SETSTATE, FALSE, 0);
    SendMessageW(m.button, WM_MOUSELEAVE, 0, 0);
    Pump();
    face = Capture(r).At(p.x, p.y);
    EXPECT_TRUE(Between(face, c[kSkinFaceTop], c[kSkinFaceBottom])) << "face again " << Hex(face);

    HWND header = reinterpret_cast<HWND>(SendMessageW(m.list, LVM_GETHEADER, 0, 0));
    RECT h;
    GetWindowRect(header, &h);
    const COLORREF head = shot.At(h.left + 300, h.top + (h.bottom - h.top) / 2);
    EXPECT_TRUE(Between(head, RGB(255, 255, 255), c[kSkinHeaderFace])) << "header " << Hex(head);
    EXPECT_NE(Hex(head), Hex(GetSysColor(COLOR_BTNFACE)));

    p = ToScreen(m.list, 600, 300);  // the list's area without rows keeps the program's colour
    EXPECT_EQ(Hex(shot.At(p.x, p.y)), Hex(RGB(128, 160, 128)));

    // The bar: its filled part in the bar colour, the rest in the background colour.
    p = ToScreen(m.progress, 0, 12);
    int bar = 0, back = 0;
    for (int x = 0; x < 960; ++x) {
      const COLORREF px = shot.At(p.x + x, p.y);
      bar += px == c[kSkinProgressBar];
      back += px == c[kSkinProgressBack];
    }
    EXPECT_GT(bar, 200) << "progress bar colour";
    EXPECT_GT(back, 400) << "progress background colour";

    // The caption bar: a gradient between the skin's two caption colours, right of the title.
    POINT origin = ToScreen(m.window, 0, 0);
    const int caption_y = (origin.y - outer.top) / 2;
    const COLORREF cap = shot.At(outer.left + 700, outer.top + caption_y);
    EXPECT_TRUE(Between(cap, c[kSkinCaptionLeft], c[kSkinCaptionRight])) << "caption " << Hex(cap);

    // A window made after the skin was attached is skinned as well.
    HWND later = Frame(L"later", 300, 300, 200, 120);
    HWND later_button = Control(later, L"Button", L"OK", 0, 10, 10, 80, 24);
    ShowWindow(later, SW_SHOW);
    UpdateWindow(later);
    Pump();
    GetWindowRect(later, &r);
    const Shot second = Capture(r);
    p = ToScreen(later, 150, 80);
    EXPECT_EQ(Hex(second.At(p.x, p.y)), Hex(c[kSkinWindow])) << "later window background";
    p = ToScreen(later_button, 2, 12);
    EXPECT_TRUE(Between(second.At(p.x, p.y), c[kSkinFaceTop], c[kSkinFaceBottom])) << "later button";
    DestroyWindow(later);
    DestroyWindow(m.window);
    Pump();
  }).join();
}

// The program itself, started twice from a directory of its own: the first start writes the
// engine (exactly the image built) and shows the main window in skin 3; the second writes nothing.
TEST_F(SkinLookTest, TheProgramsMainWindowInSkinThree) {
  const std::string program = Fixture("program\\task-collector.exe");
  ASSERT_NE(GetFileAttributesA(program.c_str()), INVALID_FILE_ATTRIBUTES) << program;
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string dir = std::string(temp) + "tc_skin_program_" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(dir.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA(program.c_str(), (dir + "\\task-collector.exe").c_str(), FALSE));
  const std::string engine = dir + "\\SkinH_EL.dll";
  const auto skin = ParseSkin(SkinImage(3).data(), SkinImage(3).size());
  ASSERT_TRUE(skin);
  const uint32_t* c = skin->colors;

  FILETIME written{};
  for (int start = 1; start <= 2; ++start) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    char desktop[] = "tc_skin_look";  // this test's virtual desktop (look_desktop.sh)
    si.lpDesktop = desktop;
    PROCESS_INFORMATION pi{};
    std::string command = "\"" + dir + "\\task-collector.exe\"";
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi));
    CloseHandle(pi.hThread);
    HWND window = nullptr;
    for (int i = 0; i < 600 && !window; ++i) {  // a guard against a hung start only
      if (WaitForSingleObject(pi.hProcess, 100) == WAIT_OBJECT_0) break;
      window = FindShownWindow(pi.dwProcessId, L"", TitleIs::kStartingWith, "青石坊软件需求定单网");
    }
    EXPECT_NE(window, nullptr) << "start " << start << ": no main window";
    if (window) {
      // The other process paints in its own time: measure once every measured part is drawn
      // (or patience runs out, and the checks below say what is missing).
      const POINT back = ToScreen(window, 920, 420);
      const POINT face = ToScreen(window, 882, 67 + 12);  // 按钮1, left of its caption
      const POINT list = ToScreen(window, 600, 300);      // the task list without rows
      RECT outer;
      GetWindowRect(window, &outer);
      Shot shot;
      auto painted = [&] {
        return shot.At(back.x, back.y) == c[kSkinWindow] &&
               Between(shot.At(face.x, face.y), c[kSkinFaceTop], c[kSkinFaceBottom]) &&
               shot.At(list.x, list.y) == RGB(128, 160, 128);
      };
      for (int i = 0; i < 100 && (shot = Capture(outer), !painted()); ++i) Sleep(100);
      if (start == 1) SaveBmp(shot, ProgramDirectory() + "\\main_window_skin03.bmp");
      EXPECT_EQ(Hex(shot.At(back.x, back.y)), Hex(c[kSkinWindow])) << "window background";
      EXPECT_TRUE(Between(shot.At(face.x, face.y), c[kSkinFaceTop], c[kSkinFaceBottom]))
          << "button face " << Hex(shot.At(face.x, face.y));
      EXPECT_EQ(Hex(shot.At(list.x, list.y)), Hex(RGB(128, 160, 128)));
      const int caption_y = (ToScreen(window, 0, 0).y - outer.top) / 2;
      const COLORREF cap = shot.At(outer.left + 700, outer.top + caption_y);
      EXPECT_TRUE(Between(cap, c[kSkinCaptionLeft], c[kSkinCaptionRight])) << "caption " << Hex(cap);
      PostMessageW(window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    EXPECT_EQ(code, 0u) << "start " << start;
    if (start == 1) {
      EXPECT_TRUE(ReadAll(engine) == ReadAll(Fixture("engine\\SkinH_EL.dll")));
      EXPECT_EQ(GetFileAttributesA(engine.c_str()) & ~static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE),
                static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
      written = WriteTime(engine);
    } else {
      const FILETIME now = WriteTime(engine);
      EXPECT_EQ(CompareFileTime(&now, &written), 0) << "the second start wrote the library";
    }
  }
  SetFileAttributesA(engine.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(engine.c_str());
  DeleteFileA((dir + "\\task-collector.exe").c_str());
  RemoveDirectoryA(dir.c_str());
}

// A skin that cannot be read, or none at all, leaves the windows as they were.
TEST_F(SkinLookTest, AnUnreadableSkinChangesNothing) {
  Bytes damaged = SkinImage(3);
  damaged[damaged.size() / 2] ^= 0x40;
  for (const Bytes& image : {damaged, Bytes(), Bytes{'.', 'S', 'H', 'E'}}) {
    std::thread([&] {
      HWND w = Frame(L"plain", 100, 100, 240, 140);
      HWND button = Control(w, L"Button", L"OK", 0, 10, 10, 80, 24);
      Attach(image);
      ShowWindow(w, SW_SHOW);
      UpdateWindow(w);
      Pump();
      RECT r;
      GetWindowRect(w, &r);
      const Shot shot = Capture(r);
      POINT p = ToScreen(w, 180, 100);
      EXPECT_EQ(Hex(shot.At(p.x, p.y)), Hex(GetSysColor(COLOR_BTNFACE)));
      p = ToScreen(button, 40, 3);
      EXPECT_EQ(Hex(shot.At(p.x, p.y)), Hex(GetSysColor(COLOR_BTNFACE)));
      DestroyWindow(w);
      Pump();
    }).join();
  }
}

// All 33 skins at once, one thread and one small window each, captured in one sheet.
TEST_F(SkinLookTest, ContactSheetOfAllSkins) {
  const int kColumns = 6, kWidth = 168, kHeight = 124;
  std::vector<std::thread> threads;
  std::vector<HWND> windows(33);
  HANDLE ready = CreateSemaphoreW(nullptr, 0, 33, nullptr);
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  for (int n = 1; n <= 33; ++n) {
    threads.emplace_back([&, n] {
      const int x = ((n - 1) % kColumns) * (kWidth + 2), y = ((n - 1) / kColumns) * (kHeight + 2);
      const auto skin = ParseSkin(SkinImage(n).data(), SkinImage(n).size());
      wchar_t title[80];
      std::swprintf(title, 80, L"%d %hs", n, skin ? skin->name.c_str() : "?");
      HWND w = Frame(title, x, y, kWidth, kHeight);
      Control(w, L"Static", L"页数：", 0, 6, 8, 40, 16);
      Control(w, L"Edit", L"1", 0, 48, 5, 50, 20, WS_EX_CLIENTEDGE);
      Control(w, L"Button", L"采集", 0, 6, 34, 70, 24);
      HWND hot = Control(w, L"Button", L"多媒体", 0, 82, 34, 70, 24);
      HWND bar = Control(w, PROGRESS_CLASSW, L"", 0, 6, 66, 146, 14);
      SendMessageW(bar, PBM_SETPOS, 60, 0);
      Attach(SkinImage(n));
      SendMessageW(hot, BM_SETSTATE, TRUE, 0);  // one button shown pressed
      ShowWindow(w, SW_SHOWNOACTIVATE);
      UpdateWindow(w);
      Pump();
      windows[static_cast<size_t>(n - 1)] = w;
      ReleaseSemaphore(ready, 1, nullptr);
      while (MsgWaitForMultipleObjects(1, &done, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) Pump();
      DestroyWindow(w);
      Pump();
    });
  }
  for (int i = 0; i < 33; ++i) WaitForSingleObject(ready, 60000);
  const RECT screen{0, 0, kColumns * (kWidth + 2), 6 * (kHeight + 2)};
  // Where each window's background is measured, and what it should be.
  std::vector<POINT> probes;
  std::vector<COLORREF> expected;
  for (int n = 1; n <= 33; ++n) {
    const auto skin = ParseSkin(SkinImage(n).data(), SkinImage(n).size());
    ASSERT_TRUE(skin);
    const int x = ((n - 1) % kColumns) * (kWidth + 2), y = ((n - 1) / kColumns) * (kHeight + 2);
    probes.push_back({x + kWidth - 12, y + kHeight - 12});
    expected.push_back(skin->colors[kSkinWindow]);
  }
  // Each thread painted its window before it said it was ready; the screen may show it a moment
  // later, so read it until all are there (or patience runs out, and the checks below tell).
  Shot sheet;
  auto all_shown = [&] {
    for (size_t i = 0; i < probes.size(); ++i)
      if (sheet.At(probes[i].x, probes[i].y) != expected[i]) return false;
    return true;
  };
  for (int i = 0; i < 50 && (sheet = Capture(screen), !all_shown()); ++i) Sleep(100);
  SetEvent(done);
  for (auto& t : threads) t.join();
  CloseHandle(ready);
  CloseHandle(done);
  SaveBmp(sheet, ProgramDirectory() + "\\skin_contact_sheet.bmp");

  std::set<COLORREF> backgrounds;
  for (size_t i = 0; i < probes.size(); ++i) {
    const COLORREF back = sheet.At(probes[i].x, probes[i].y);
    EXPECT_EQ(Hex(back), Hex(expected[i])) << "skin " << i + 1;
    backgrounds.insert(back);
  }
  EXPECT_EQ(backgrounds.size(), 33u);
}

}  // namespace
