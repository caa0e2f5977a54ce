// The real executable, started in a process of its own on the test display: where its window
// appears, a collection through a button click, the double-click reaching a stand-in browser,
// Esc ending it, and a missing wininet.dll.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/main_window_win.h"
#include "collect/page_address.h"
#include "tests/app/listing_page.h"
#include "tests/app/program_process_win.h"
#include "tests/support/loopback_server_win.h"
#include "tools/demo/demo_pages.h"

namespace {

constexpr DWORD kStartTimeoutMs = 60000;

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::string PathOf(const std::string& url, const LoopbackServer& server) { return url.substr(server.Url("").size()); }

class ProgramTest : public ::testing::Test {
 protected:
  void TearDown() override { StopProgram(program_); }

  HWND Start(const std::wstring& exePath = WindowsPath(TC_PROGRAM_PATH)) {
    program_ = StartProgram(exePath);
    if (!program_.started) return nullptr;
    window_ = WaitForWindow(program_.info.dwProcessId, kMainWindowClass, nullptr, kStartTimeoutMs);
    return window_;
  }
  HWND Control(int id) const { return GetDlgItem(window_, id); }
  // A real click as the button sends it: the command runs in the program's own loop.
  void Click(int id) const {
    PostMessageW(window_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Control(id)));
  }
  int Rows() const { return static_cast<int>(SendMessageW(Control(kIdTaskList), LVM_GETITEMCOUNT, 0, 0)); }
  bool WaitForRows(int count, DWORD timeoutMs = 60000) const {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
      if (Rows() == count) return true;
      Sleep(100);
    }
    return false;
  }
  std::wstring Cell(int row, int column) const {
    return RemoteListCell(program_.info.hProcess, Control(kIdTaskList), row, column);
  }
  void DoubleClickRow(int row) const {
    HWND list = Control(kIdTaskList);
    RemoteSelectRow(program_.info.hProcess, list, row);
    const RECT r = RemoteItemRect(program_.info.hProcess, list, row);
    const LPARAM at = MAKELPARAM(r.left + 60, (r.top + r.bottom) / 2);
    PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
  }
  void PressEsc() const { PostMessageW(Control(kIdPageCount), WM_KEYDOWN, VK_ESCAPE, 1); }

  ProgramProcess program_;
  HWND window_ = nullptr;
};

std::string ReadWholeFile(const std::string& unixPath) {
  std::ifstream in(std::wstring(WindowsPath(unixPath)).c_str(), std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

}  // namespace

TEST_F(ProgramTest, StartsCentredAndEscEndsItWithExitCodeZero) {
  ASSERT_NE(Start(), nullptr);
  RECT r;
  GetWindowRect(window_, &r);
  EXPECT_EQ(r.right - r.left, 983);
  EXPECT_EQ(r.bottom - r.top, 495);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 983) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 495) / 2);
  if (GetSystemMetrics(SM_CXSCREEN) == 1024 && GetSystemMetrics(SM_CYSCREEN) == 768) {
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.top, 136);
  }
  EXPECT_EQ(TextOfWindow(window_).rfind(L"青石坊软件需求定单网-------BY:", 0), 0u);
  EXPECT_EQ(TextOfWindow(Control(kIdPageCount)), L"1");
  EXPECT_EQ(Rows(), 0);
  PressEsc();
  EXPECT_EQ(WaitForExit(program_, 30000), 0u);
}

TEST_F(ProgramTest, ClickCollectsNumberedRowsAndDoubleClickOpensOnlyWebAddresses) {
  LoopbackServer server;
  const std::string listing = server.Url("/c-rjkf/zmyy/t.html");
  const ListingTask tasks[] = {
      {u8"网页任务", u8"打开它", server.Url("/task/7")},
      {u8"本地文件", u8"不能打开", "file:///Z:/tmp/tc-not-a-web-page.html"},
      {u8"第三个", u8"要求三", server.Url("/task/9")},
  };
  server.SetReply(PathOf(*ListingPageAddress(listing, 1), server), {"HTTP/1.1 200 OK", {}, ListingPageHtml(tasks, 3)});
  DeleteFileW(WindowsPath(TC_BROWSER_RECORD).c_str());
  const std::wstring browser = Wide(TC_BROWSER_SCRIPT);
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\WineBrowser", L"Browsers", REG_SZ,
                            browser.c_str(), static_cast<DWORD>((browser.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
  ASSERT_NE(Start(), nullptr);
  SetWindowTextW(Control(kIdAddress), Wide(listing).c_str());
  Click(kIdButton10);
  ASSERT_TRUE(WaitForRows(3));
  Sleep(500);  // the numbers are written after the last row
  const wchar_t* const expected[3][3] = {{L"1", L"网页任务", L"打开它"}, {L"2", L"本地文件", L"不能打开"},
                                         {L"3", L"第三个", L"要求三"}};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(Cell(r, c), expected[r][c]) << r << "," << c;
  EXPECT_EQ(Cell(0, 3), Wide(server.Url("/task/7")));

  // The non-web row first: if it reached the browser, its line would come before the other.
  DoubleClickRow(1);
  DoubleClickRow(0);
  std::string record;
  for (int i = 0; i < 300 && record.find('\n') == std::string::npos; ++i) {
    Sleep(100);
    record = ReadWholeFile(TC_BROWSER_RECORD);
  }
  Sleep(2000);  // time for a second, unwanted opening to show
  record = ReadWholeFile(TC_BROWSER_RECORD);
  EXPECT_EQ(record, server.Url("/task/7") + "\n");
  PressEsc();
  EXPECT_EQ(WaitForExit(program_, 30000), 0u);
}

TEST_F(ProgramTest, DemoCollectionOnScreen) {
  LoopbackServer server;
  const std::string listing = server.Url("/c-rjkf/t.html");
  for (int page = 1; page <= 2; ++page) {
    server.SetReply(PathOf(*ListingPageAddress(listing, page), server),
                    {"HTTP/1.1 200 OK", {"Content-Type: text/html; charset=utf-8"},
                     DemoListingPage(1, page, server.Url(""))});
  }
  ASSERT_NE(Start(), nullptr);
  SetWindowTextW(Control(kIdPageCount), L"2");
  SetWindowTextW(Control(kIdAddress), Wide(listing).c_str());
  Click(kIdButton10);
  const DWORD start = GetTickCount();
  int rows = 0;
  // Done when the last row is numbered.
  while (GetTickCount() - start < 120000) {
    rows = Rows();
    if (rows > 0 && Cell(rows - 1, 0) == std::to_wstring(rows)) break;
    Sleep(200);
  }
  ASSERT_GT(rows, 0);
  EXPECT_EQ(Cell(0, 0), L"1");
  EXPECT_FALSE(Cell(0, 1).empty());
  EXPECT_FALSE(IsWindowVisible(Control(kIdProgress)));
  Sleep(500);
  EXPECT_TRUE(SaveWindowShot(window_, WindowsPath(TC_SHOT_PATH)));
  PressEsc();
  EXPECT_EQ(WaitForExit(program_, 30000), 0u);
}

TEST_F(ProgramTest, WithoutWininetTheWindowShowsAndTheFirstCollectionFaults) {
  LoopbackServer server;
  // A copy under a name of its own, for which Wine is told that wininet.dll is disabled
  // (the per-program form of WINEDLLOVERRIDES="wininet=d", which a child does not inherit).
  const std::wstring program = WindowsPath(TC_PROGRAM_PATH);
  const std::wstring copy = program.substr(0, program.rfind(L'\\') + 1) + L"tc-no-wininet.exe";
  ASSERT_TRUE(CopyFileW(program.c_str(), copy.c_str(), FALSE));
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\tc-no-wininet.exe\\DllOverrides",
                            L"wininet", REG_SZ, L"", sizeof(wchar_t)),
            ERROR_SUCCESS);
  ASSERT_NE(Start(copy), nullptr) << "the window appears without wininet.dll";
  SetWindowTextW(Control(kIdAddress), Wide(server.Url("/c-rjkf/t.html")).c_str());
  Click(kIdButton10);
  HWND box = WaitForWindow(program_.info.dwProcessId, L"#32770", L"错误", 60000);
  ASSERT_NE(box, nullptr) << "requests made: " << server.RequestCount();
  std::wstring text;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) text += TextOfWindow(child);
  EXPECT_NE(text.find(L"wininet.dll"), std::wstring::npos) << "box text";
  EXPECT_NE(text.find(L"InternetOpenA"), std::wstring::npos);
  EXPECT_EQ(server.RequestCount(), 0);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(WaitForExit(program_, 30000), static_cast<DWORD>(-1));
}
