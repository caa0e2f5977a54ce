// CollectorView on the real controls, and the commands and keys of the main window.
#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>

#include "app/collector_view_win.h"
#include "app/commands_win.h"
#include "app/controls_win.h"
#include "app/message_loop_win.h"
#include "collect/listings.h"
#include "collect/page_address.h"
#include "tests/app/listing_page.h"
#include "tests/app/window_fixture_win.h"
#include "tests/support/loopback_server_win.h"

namespace {

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// Shift held down, as the thread's key state reports it, while this lives.
class ShiftHeld {
 public:
  ShiftHeld() {
    GetKeyboardState(saved_);
    BYTE shifted[256];
    memcpy(shifted, saved_, sizeof shifted);
    shifted[VK_SHIFT] = shifted[VK_LSHIFT] = 0x80;
    SetKeyboardState(shifted);
  }
  ~ShiftHeld() { SetKeyboardState(saved_); }

 private:
  BYTE saved_[256];
};

std::string PathOf(const std::string& url) {
  const size_t hostStart = url.find("://");
  const size_t slash = url.find('/', hostStart == std::string::npos ? 0 : hostStart + 3);
  return slash == std::string::npos ? "/" : url.substr(slash);
}

const ListingTask kTasks[] = {
    {u8"视频剪辑工具开发", u8"需要一个批量剪辑视频的桌面工具", "http://task.example/task/101"},
    {u8"音频转码插件", u8"支持MP3与FLAC互转，界面简洁", "http://task.example/task/102"},
    {u8"直播推流助手", u8"OBS插件，一周内交付", "http://task.example/task/103"},
};

}  // namespace

TEST_F(MainWindowTest, ProgressPositionIsLimitedToTheBarsRange) {
  const CollectorView view = MainWindowView(window_);
  const struct {
    int value, position;
  } cases[] = {{150, 100}, {-5, 0}, {60, 60}, {100, 100}, {40000, 100}, {INT_MIN, 0}, {INT_MAX, 100}};
  for (const auto& c : cases) {
    view.SetProgressPosition(c.value);
    EXPECT_EQ(SendMessageW(state_->progress, PBM_GETPOS, 0, 0), c.position) << c.value;
  }
  view.HideProgressBar();
  EXPECT_FALSE(IsWindowVisible(state_->progress));
}

TEST_F(MainWindowTest, ScratchBoxGivesBackExactlyWhatWasPlaced) {
  const CollectorView view = MainWindowView(window_);
  // A listing page's worth of CP936 text: Chinese, ASCII, line breaks of both kinds, and one
  // long unbroken run the box must wrap without losing a byte.
  std::string page = std::string(3000, 'x') + "\r\n\r\n";
  for (int i = 0; page.size() < 500 * 1024; ++i) {
    page += "<tr><td class=\"list-task\">任务" + std::to_string(i) + "：需要桌面软件开发，预算￥500</td></tr>";
    page += i % 2 ? "\r\n" : "\n";
  }
  view.SetScratchText("前文\r\n");
  const auto start = std::chrono::steady_clock::now();
  view.AppendScratchText(page);
  const auto appended = std::chrono::steady_clock::now();
  const std::string back = view.GetScratchText();
  const auto read = std::chrono::steady_clock::now();
  ASSERT_EQ(back.size(), page.size() + 6);
  EXPECT_TRUE(back == "前文\r\n" + page);
  std::printf("append %zu bytes: %.1f ms, read back: %.1f ms\n", page.size(),
              std::chrono::duration<double, std::milli>(appended - start).count(),
              std::chrono::duration<double, std::milli>(read - appended).count());
  // The caret ends after the appended text, and the append cannot be undone.
  DWORD selStart = 0, selEnd = 0;
  SendMessageW(state_->scratch, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
  EXPECT_EQ(selStart, static_cast<DWORD>(GetWindowTextLengthW(state_->scratch)));
  EXPECT_EQ(selEnd, selStart);
  EXPECT_FALSE(SendMessageW(state_->scratch, EM_CANUNDO, 0, 0));
  view.SetScratchText("");
  EXPECT_EQ(view.GetScratchText(), "");
  view.AppendScratchText("甲");
  view.AppendScratchText("乙\r\n");
  EXPECT_EQ(view.GetScratchText(), "甲乙\r\n");
}

TEST_F(MainWindowTest, ScratchTextIsReplacedWholeWhetherOrNotItWasPartOfTheOld) {
  const CollectorView view = MainWindowView(window_);
  const std::string page = "<html>\r\n头部\n<table class=\"list-task\">任务表\r\n第二行</table>\r\n尾部";
  const struct {
    const char* before;
    std::string after;
  } cases[] = {
      {"", "新文本"},
      {"旧文本", ""},
      {"旧文本", "另一段文本"},                         // not a part of the old text
      {page.c_str(), "<table class=\"list-task\">任务表\r\n第二行"},  // a middle part
      {page.c_str(), "<html>\r\n头部"},                // the start
      {page.c_str(), "尾部"},                            // the end
      {page.c_str(), page},                              // all of it
      {"甲乙甲乙", "乙甲"},
  };
  for (const auto& c : cases) {
    view.SetScratchText(c.before);
    view.AppendScratchText("");  // leaves the caret at the end and the box modified
    view.SetScratchText(c.after);
    EXPECT_EQ(view.GetScratchText(), c.after) << c.before;
    // Where replacing the whole text leaves the box: caret at the start, nothing to undo.
    DWORD selStart = 1, selEnd = 1;
    SendMessageW(state_->scratch, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
    EXPECT_EQ(selStart, 0u);
    EXPECT_EQ(selEnd, 0u);
    EXPECT_FALSE(SendMessageW(state_->scratch, EM_CANUNDO, 0, 0));
    EXPECT_FALSE(SendMessageW(state_->scratch, EM_GETMODIFY, 0, 0));
    EXPECT_EQ(SendMessageW(state_->scratch, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  }
}

TEST_F(MainWindowTest, TaskRowsAreAppendedInOrderAndCellsReadBack) {
  const CollectorView view = MainWindowView(window_);
  EXPECT_EQ(view.AppendTaskRow(), 0);
  EXPECT_EQ(view.AppendTaskRow(), 1);
  view.SetTaskCell(1, 3, "http://任务/2");
  view.SetTaskCell(0, 1, "标题一");
  EXPECT_EQ(view.TaskRowCount(), 2);
  EXPECT_EQ(ListCell(state_->taskList, 0, 1), "标题一");
  EXPECT_EQ(ListCell(state_->taskList, 1, 3), "http://任务/2");
  EXPECT_EQ(ListCell(state_->taskList, 1, 0), "");
  const std::string longCell(5000, 'a');
  view.SetTaskCell(0, 2, longCell);
  EXPECT_EQ(ListCell(state_->taskList, 0, 2), longCell);
  view.ClearTaskList();
  EXPECT_EQ(view.TaskRowCount(), 0);
}

TEST_F(MainWindowTest, PumpLeavesTheQuitMessageQueuedAndReportsTheWindowGone) {
  EXPECT_TRUE(MainWindowView(window_).PumpEvents());
  PostMessageW(window_, WM_NULL, 0, 0);
  PostQuitMessage(7);
  PostMessageW(window_, WM_NULL, 0, 0);
  EXPECT_TRUE(MainWindowView(window_).PumpEvents());
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  const CollectorView view = MainWindowView(window_);
  PostMessageW(window_, WM_CLOSE, 0, 0);
  EXPECT_FALSE(view.PumpEvents());
  EXPECT_FALSE(IsWindow(window_));
  // A view of a closed window does nothing, quietly.
  view.ClearTaskList();
  EXPECT_EQ(view.TaskRowCount(), 0);
  EXPECT_EQ(view.GetScratchText(), "");
}

TEST_F(MainWindowTest, Button3CollectsOnePageOfItsListing) {
  LoopbackServer server;
  const std::string listing = server.Url("") + ListingCommands()[2].path;
  const std::string firstPage = *ListingPageAddress(listing, 1);
  server.SetReply(PathOf(firstPage), {"HTTP/1.1 200 OK", {"Content-Type: text/html; charset=utf-8"},
                                      ListingPageHtml(kTasks, 3)});
  EXPECT_EQ(WindowTextW(Control(kIdButton1 + 2)), L"多媒体软件");
  EXPECT_EQ(std::string(ListingCommands()[2].path), "/c-rjkf/dmtrj/t.html");

  CollectListing(window_, listing);  // page-count box: "1", as at start

  ASSERT_EQ(server.RequestCount(), 1);
  EXPECT_EQ(LoopbackRequestLine(server.LastRequest()), "GET " + PathOf(firstPage) + " HTTP/1.1");
  HWND list = state_->taskList;
  ASSERT_EQ(ListRowCount(list), 3);
  const char* const rows[3][4] = {
      {"1", "视频剪辑工具开发", "需要一个批量剪辑视频的桌面工具", "http://task.example/task/101"},
      {"2", "音频转码插件", "支持MP3与FLAC互转，界面简洁", "http://task.example/task/102"},
      {"3", "直播推流助手", "OBS插件，一周内交付", "http://task.example/task/103"},
  };
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_EQ(ListCell(list, r, c), rows[r][c]) << r << "," << c;
  EXPECT_FALSE(IsWindowVisible(state_->progress));
  EXPECT_EQ(SendMessageW(state_->progress, PBM_GETPOS, 0, 0), 100);
  EXPECT_TRUE(IsWindowVisible(list)) << "the list paints again once the command is done";
}

TEST_F(MainWindowTest, PageCountThatIsNoPositiveNumberEmptiesTheListAndFetchesNothing) {
  LoopbackServer server;
  SetWindowTextW(state_->address, Wide(server.Url("/c-rjkf/t.html")).c_str());
  for (const wchar_t* count : {L"", L"0", L"页数", L"abc", L"-3"}) {
    ListAppendRow(state_->taskList);
    SetText(kIdPageCount, count);
    Click(kIdButton10);
    EXPECT_EQ(ListRowCount(state_->taskList), 0);
    EXPECT_EQ(server.RequestCount(), 0);
  }
}

TEST_F(MainWindowTest, Button10CollectsTheTypedAddressUnchanged) {
  LoopbackServer server;
  const std::string typed = server.Url("/c-rjkf/erp/t.html?from=typed");
  const std::string firstPage = *ListingPageAddress(typed, 1);
  server.SetReply(PathOf(firstPage), {"HTTP/1.1 200 OK", {}, ListingPageHtml(kTasks, 2)});
  SetText(kIdPageCount, L" 1页");
  SetWindowTextW(state_->address, Wide(typed).c_str());
  Click(kIdButton10);
  ASSERT_EQ(server.RequestCount(), 1);
  EXPECT_EQ(LoopbackRequestLine(server.LastRequest()), "GET " + PathOf(firstPage) + " HTTP/1.1");
  EXPECT_EQ(ListRowCount(state_->taskList), 2);
  EXPECT_EQ(ListCell(state_->taskList, 1, 0), "2");
  EXPECT_EQ(ControlText(state_->address), typed);
}

TEST_F(MainWindowTest, OnlyWebAddressesAreWebAddresses) {
  const struct {
    const char* address;
    bool web;
  } cases[] = {
      {"http://task.example/1", true},  {"HTTPS://task.example/1", true}, {"Http://x", true},
      {"", false},                      {"http:/x", false},               {"https:", false},
      {"C:\\Windows\\System32\\calc.exe", false}, {"\\\\host\\share\\x.exe", false},
      {"file:///C:/x.exe", false},      {"javascript:alert(1)", false},   {" http://x", false},
      {"ftp://x", false},               {"calc", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsWebAddress(c.address), c.web) << c.address;
}

TEST_F(MainWindowTest, EscAloneClosesWhicheverControlHasTheFocus) {
  SetFocus(state_->pageCount);
  {
    ShiftHeld shift;
    PostMessageW(state_->pageCount, WM_KEYDOWN, VK_ESCAPE, 1);
    PumpWaitingMessages(window_);
  }
  EXPECT_TRUE(IsWindow(window_)) << "Shift+Esc";
  PostMessageW(state_->pageCount, WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_FALSE(PumpWaitingMessages(window_));
  EXPECT_FALSE(IsWindow(window_));
}

TEST_F(MainWindowTest, TabMovesTheFocusAndEnterAndF1DoNothing) {
  LoopbackServer server;
  SetWindowTextW(state_->address, Wide(server.Url("/c-rjkf/t.html")).c_str());
  SetFocus(state_->pageCount);
  PostMessageW(state_->pageCount, WM_KEYDOWN, VK_TAB, 1);
  PumpWaitingMessages(window_);
  EXPECT_EQ(GetFocus(), Control(kIdButton10));
  for (WPARAM key : {static_cast<WPARAM>(VK_RETURN), static_cast<WPARAM>(VK_F1)}) {
    PostMessageW(Control(kIdButton10), WM_KEYDOWN, key, 1);
    PostMessageW(Control(kIdButton10), WM_KEYUP, key, 0xC0000001);
    PumpWaitingMessages(window_);
  }
  EXPECT_EQ(server.RequestCount(), 0);
  EXPECT_TRUE(IsWindow(window_));
  {
    ShiftHeld shift;
    PostMessageW(Control(kIdButton10), WM_KEYDOWN, VK_TAB, 1);
    PumpWaitingMessages(window_);
  }
  EXPECT_EQ(GetFocus(), state_->pageCount);
}
