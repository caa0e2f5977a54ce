// The main window as created: every property and control the window is specified with.
#include <windows.h>

#include <commctrl.h>

#include "tests/app/window_fixture_win.h"

namespace {

struct ControlCase {
  int id;
  const wchar_t* kind;
  const wchar_t* text;
  int left, top, width, height;
  bool visible;
  bool tabStop;
};

const ControlCase kControlCases[] = {
    {kIdPageLabel, L"Static", L"页数：", 617, 0, 32, 24, true, false},
    {kIdPageCount, L"Edit", L"1", 679, 0, 105, 24, true, true},
    {kIdButton10, L"Button", L"地址采集", 880, 19, 80, 29, true, true},
    {kIdAddressLabel, L"Static", L"青石坊采集地址", 32, 5, 96, 16, true, false},
    {kIdAddress, L"Edit", L"", 133, 2, 443, 22, true, true},
    {kIdButton1 + 8, L"Button", L"客户关系管理", 885, 235, 80, 24, true, true},
    {kIdProgress, L"msctls_progress32", L"", -8, 443, 976, 24, true, false},
    {kIdButton1 + 7, L"Button", L"己托管", 880, 99, 88, 24, true, true},
    {kIdButton1 + 6, L"Button", L"其他软件", 880, 346, 88, 24, true, true},
    {kIdButton1 + 5, L"Button", L"插件制作", 880, 311, 88, 24, true, true},
    {kIdButton1 + 4, L"Button", L"脚本制作", 880, 273, 88, 24, true, true},
    {kIdButton1 + 3, L"Button", L"办公自动化OA", 880, 195, 88, 24, true, true},
    {kIdButton1 + 2, L"Button", L"多媒体软件", 880, 163, 88, 24, true, true},
    {kIdButton1 + 1, L"Button", L"桌面软件", 880, 131, 88, 24, true, true},
    {kIdButton1, L"Button", L"青石坊接单网", 880, 67, 88, 24, true, true},
    {kIdTaskList, L"SysListView32", L"", 0, 32, 872, 411, true, true},
    {kIdScratch, L"Edit", L"", 144, 187, 248, 173, false, true},
};

LONG_PTR Style(HWND w) { return GetWindowLongPtrW(w, GWL_STYLE); }
LONG_PTR ExStyle(HWND w) { return GetWindowLongPtrW(w, GWL_EXSTYLE); }
bool Has(LONG_PTR bits, LONG_PTR flag) { return (bits & flag) == flag; }

}  // namespace

TEST_F(MainWindowTest, EveryControlSitsWhereItBelongsInItsStartState) {
  int children = 0;
  for (HWND c = GetWindow(window_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) ++children;
  EXPECT_EQ(children, 17);
  HWND previous = nullptr;
  for (const ControlCase& expected : kControlCases) {
    SCOPED_TRACE(expected.id);
    HWND control = Control(expected.id);
    ASSERT_NE(control, nullptr);
    wchar_t kind[64] = {};
    GetClassNameW(control, kind, 64);
    EXPECT_EQ(lstrcmpiW(kind, expected.kind), 0) << "class";
    EXPECT_EQ(WindowTextW(control), expected.text);
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, expected.left);
    EXPECT_EQ(r.top, expected.top);
    EXPECT_EQ(r.right - r.left, expected.width);
    EXPECT_EQ(r.bottom - r.top, expected.height);
    EXPECT_EQ(IsWindowVisible(control) != FALSE, expected.visible);
    EXPECT_EQ(Has(Style(control), WS_TABSTOP), expected.tabStop);
    EXPECT_TRUE(IsWindowEnabled(control));
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), GetStockObject(DEFAULT_GUI_FONT));
    // Creation order is the Tab order: the table's order.
    EXPECT_EQ(GetWindow(control, GW_HWNDPREV), previous);
    previous = control;
  }
}

TEST_F(MainWindowTest, WindowHasItsCaptionFrameSizeAndPlace) {
  const std::wstring caption = WindowTextW(window_);
  EXPECT_EQ(caption.rfind(L"青石坊软件需求定单网-------BY:", 0), 0u) << "caption";
  EXPECT_GT(caption.size(), std::wstring(L"青石坊软件需求定单网-------BY:").size()) << "a credit follows";
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
  const LONG_PTR style = Style(window_);
  EXPECT_TRUE(Has(style, WS_CAPTION));
  EXPECT_TRUE(Has(style, WS_SYSMENU));
  EXPECT_TRUE(Has(style, WS_MINIMIZEBOX));
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_CHILD);
  EXPECT_TRUE(Has(ExStyle(window_), WS_EX_DLGMODALFRAME));
  EXPECT_TRUE(Has(ExStyle(window_), WS_EX_APPWINDOW)) << "own task-bar button";
  EXPECT_EQ(GetMenu(window_), nullptr);
  EXPECT_EQ(GetClassLongPtrW(window_, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
  EXPECT_NE(SendMessageW(window_, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(SendMessageW(window_, WM_GETICON, ICON_SMALL, 0), 0);
}

TEST(MainWindowPlace, CentredWithSignedTruncatingDivision) {
  const struct {
    int screen, window, start;
  } cases[] = {{1024, 983, 20}, {768, 495, 136}, {800, 983, -91}, {600, 495, 52},
               {983, 983, 0},   {984, 983, 0},   {982, 983, 0},   {1920, 983, 468}};
  for (const auto& c : cases) EXPECT_EQ(CentredStart(c.screen, c.window), c.start) << c.screen;
}

TEST_F(MainWindowTest, CannotBeMaximisedOrResized) {
  RECT before, after;
  GetWindowRect(window_, &before);
  // The frame's edges and corners are no handles for sizing.
  const POINT edges[] = {{before.left, (before.top + before.bottom) / 2},
                         {before.right - 1, (before.top + before.bottom) / 2},
                         {(before.left + before.right) / 2, before.bottom - 1},
                         {before.right - 1, before.bottom - 1}};
  for (const POINT& p : edges) {
    const LRESULT hit = SendMessageW(window_, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
    EXPECT_TRUE(hit < HTSIZEFIRST || hit > HTSIZELAST) << hit;
  }
  // Double-clicking the caption maximises only a window that has a maximise button.
  SendMessageW(window_, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(before.left + 100, before.top + 5));
  Drain();
  GetWindowRect(window_, &after);
  EXPECT_FALSE(IsZoomed(window_));
  EXPECT_TRUE(EqualRect(&before, &after));
  // It can be minimised and moved.
  ShowWindow(window_, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(window_));
  ShowWindow(window_, SW_RESTORE);
  SetWindowPos(window_, nullptr, 5, 7, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  GetWindowRect(window_, &after);
  EXPECT_EQ(after.left, 5);
  EXPECT_EQ(after.top, 7);
}

TEST_F(MainWindowTest, TaskListIsAReportOfFourColumnsInItsColours) {
  HWND list = Control(kIdTaskList);
  const LONG_PTR style = Style(list);
  EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_TRUE(Has(style, LVS_SINGLESEL));
  for (LONG_PTR absent : {LVS_SHOWSELALWAYS, LVS_NOSORTHEADER, LVS_NOCOLUMNHEADER, LVS_EDITLABELS,
                          LVS_SORTASCENDING, LVS_SORTDESCENDING}) {
    EXPECT_FALSE(style & absent) << absent;
  }
  EXPECT_TRUE(Has(ExStyle(list), WS_EX_CLIENTEDGE));
  const LRESULT ex = SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
  EXPECT_TRUE(Has(ex, LVS_EX_FULLROWSELECT));
  EXPECT_TRUE(Has(ex, LVS_EX_GRIDLINES));
  for (LRESULT absent : {LVS_EX_HEADERDRAGDROP, LVS_EX_CHECKBOXES, LVS_EX_TRACKSELECT}) {
    EXPECT_FALSE(ex & absent) << absent;
  }
  EXPECT_EQ(SendMessageW(list, LVM_GETTEXTCOLOR, 0, 0), RGB(0, 0, 255));
  EXPECT_EQ(SendMessageW(list, LVM_GETTEXTBKCOLOR, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(SendMessageW(list, LVM_GETBKCOLOR, 0, 0), RGB(128, 160, 128));
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0);

  struct Column {
    const wchar_t* title;
    int width;
  };
  const Column columns[] = {{L"序号", 40}, {L"标题", 350}, {L"要求", 470}, {L"地址", 5}};
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 4);
  EXPECT_FALSE(GetWindowLongPtrW(header, GWL_STYLE) & HDS_HIDDEN);
  EXPECT_TRUE(Has(GetWindowLongPtrW(header, GWL_STYLE), HDS_BUTTONS)) << "clickable header";
  for (int i = 0; i < 4; ++i) {
    wchar_t title[32] = {};
    LVCOLUMNW c = {};
    c.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_IMAGE;
    c.pszText = title;
    c.cchTextMax = 32;
    ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&c)));
    EXPECT_STREQ(title, columns[i].title);
    EXPECT_EQ(c.cx, columns[i].width);
    EXPECT_EQ(c.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
    EXPECT_FALSE(c.fmt & LVCFMT_IMAGE);
  }
}

TEST_F(MainWindowTest, EditBoxesProgressBarAndButtonsHaveTheirStyles) {
  for (int id : {kIdPageCount, kIdAddress}) {
    HWND edit = Control(id);
    const LONG_PTR style = Style(edit);
    EXPECT_TRUE(Has(style, ES_AUTOHSCROLL));
    EXPECT_FALSE(style & (ES_MULTILINE | ES_READONLY | ES_PASSWORD | ES_CENTER | ES_RIGHT | ES_NUMBER));
    EXPECT_TRUE(Has(ExStyle(edit), WS_EX_CLIENTEDGE));
    EXPECT_EQ(static_cast<DWORD>(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0)), 0x7FFFFFFEu);
  }
  HWND scratch = Control(kIdScratch);
  const LONG_PTR scratchStyle = Style(scratch);
  EXPECT_TRUE(Has(scratchStyle, ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL));
  EXPECT_FALSE(scratchStyle & (ES_AUTOHSCROLL | WS_HSCROLL | ES_READONLY));
  EXPECT_TRUE(Has(ExStyle(scratch), WS_EX_CLIENTEDGE));
  EXPECT_GE(static_cast<DWORD>(SendMessageW(scratch, EM_GETLIMITTEXT, 0, 0)), 0x7FFFFFFEu);

  HWND bar = Control(kIdProgress);
  EXPECT_FALSE(Style(bar) & (PBS_SMOOTH | PBS_VERTICAL));
  EXPECT_TRUE(Has(ExStyle(bar), WS_EX_STATICEDGE));
  EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, TRUE, 0), 0);
  EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), 100);
  EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 0);

  for (int id = kIdButton1; id <= kIdButton10; ++id) {
    SCOPED_TRACE(id);
    const LONG_PTR style = Style(Control(id));
    EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON) << "no default button";
    EXPECT_TRUE(Has(style, BS_CENTER | BS_VCENTER));
    EXPECT_FALSE(style & (BS_BITMAP | BS_ICON));
  }
}
