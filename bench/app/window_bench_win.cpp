// Timing under Wine (a plain program, not a timed test): where the time of one listing page
// goes when it passes through the real window, which edit-control sequence appends to the
// scratch box cheapest, and 20 pages collected in one command.
#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "app/collector_view_win.h"
#include "app/controls_win.h"
#include "app/main_window_win.h"
#include "app/wide_text_win.h"
#include "collect/collector.h"
#include "collect/page_address.h"
#include "tests/support/loopback_server_win.h"
#include "text/codepage.h"
#include "tools/demo/demo_pages.h"
#include "web/web_request.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// A listing page of about `size` bytes: the demo marketplace's page, its tasks repeated.
std::string ListingPage(size_t size, const std::string& site) {
  const std::string page = DemoListingPage(1, 1, site);
  const size_t tableStart = page.find("<table class=\"list-task\">");
  const size_t firstBlock = page.find('\n', tableStart) + 1;
  const size_t tableEnd = page.find(u8"诚信管理中心</a></dd>");
  if (tableStart == std::string::npos || tableEnd == std::string::npos) return page;
  const size_t lastBlock = page.rfind(u8">参与</", tableEnd);
  const std::string blocks = page.substr(firstBlock, lastBlock - firstBlock);
  std::string grown = page.substr(0, firstBlock);
  while (grown.size() + (page.size() - firstBlock) < size) grown += blocks;
  return grown + page.substr(firstBlock);
}

// Times every call of each view operation, by name.
struct Split {
  double fetch = 0, scratch = 0, rows = 0, progress = 0, pump = 0, total = 0;
  double append = 0, set = 0, get = 0;  // the scratch box's share, by operation
};

CollectorView Timed(const CollectorView& view, Split& split) {
  auto time = [](double& into, auto fn) {
    return [&into, fn](auto&&... args) {
      const auto start = Clock::now();
      struct Add {
        double& into;
        Clock::time_point start;
        ~Add() { into += Ms(Clock::now() - start); }
      } add{into, start};
      return fn(std::forward<decltype(args)>(args)...);
    };
  };
  CollectorView t;
  t.ClearTaskList = time(split.rows, view.ClearTaskList);
  t.AppendTaskRow = time(split.rows, view.AppendTaskRow);
  t.SetTaskCell = time(split.rows, view.SetTaskCell);
  t.TaskRowCount = time(split.rows, view.TaskRowCount);
  t.SetProgressPosition = time(split.progress, view.SetProgressPosition);
  t.HideProgressBar = time(split.progress, view.HideProgressBar);
  t.SetScratchText = time(split.set, view.SetScratchText);
  t.AppendScratchText = time(split.append, view.AppendScratchText);
  t.GetScratchText = time(split.get, view.GetScratchText);
  t.PumpEvents = time(split.pump, view.PumpEvents);
  return t;
}

void OnePage(HWND window, LoopbackServer& server, size_t size, int runs) {
  const std::string listing = server.Url("/c-rjkf/dmtrj/t.html");
  const std::string page = ListingPage(size, server.Url(""));
  const std::string path = ListingPageAddress(listing, 1)->substr(server.Url("").size());
  server.SetReply(path, {"HTTP/1.1 200 OK", {"Content-Type: text/html; charset=utf-8"}, page});
  for (int run = 0; run < runs; ++run) {
    Split split;
    Bytes lastBody;
    PageFetcher fetch = [&](const std::string& url) {
      const auto start = Clock::now();
      lastBody = WebRequest(url);
      split.fetch += Ms(Clock::now() - start);
      return lastBody;
    };
    const auto start = Clock::now();
    CollectTaskPages(Timed(MainWindowView(window), split), fetch, listing, 1);
    split.total = Ms(Clock::now() - start);
    split.scratch = split.append + split.set + split.get;
    const auto convertStart = Clock::now();
    const std::string text = Utf8ToAnsi(BytesToText(lastBody));
    const double convert = Ms(Clock::now() - convertStart);
    const int rows = static_cast<int>(SendMessageW(MainWindowOf(window)->taskList, LVM_GETITEMCOUNT, 0, 0));
    std::printf("one page %zu bytes, %d rows: total %.1f ms = fetch %.1f + scratch box %.1f + rows %.1f"
                " + progress %.1f + pump %.1f + conversion and cutting %.1f (conversion alone %.1f)\n",
                page.size(), rows, split.total, split.fetch, split.scratch, split.rows, split.progress,
                split.pump, split.total - split.fetch - split.scratch - split.rows - split.progress - split.pump,
                convert);
    std::printf("  scratch box: append %.1f, set %.1f, read %.1f ms\n", split.append, split.set, split.get);
  }
}

// The append itself, by edit-control sequence: what each step costs on a 300 KB page.
void ScratchSequences(HWND window, size_t size) {
  HWND box = MainWindowOf(window)->scratch;
  const std::string text = Utf8ToAnsi(ListingPage(size, "http://127.0.0.1:1"));
  const std::wstring wide = WideFromCp936(text);
  auto measure = [&](const char* name, const std::function<void()>& append) {
    SetWindowTextW(box, L"");
    const auto start = Clock::now();
    append();
    const double ms = Ms(Clock::now() - start);
    std::printf("append %zu bytes, %s: %.1f ms (%.2f ms per KB)\n", text.size(), name, ms,
                ms / (static_cast<double>(text.size()) / 1024));
  };
  std::string crlf;
  for (char c : text) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  const std::wstring wideCrlf = WideFromCp936(crlf);
  measure("convert to UTF-16 only", [&] { WideFromCp936(text); });
  // Interleaved rounds: the machine's load drifts.
  for (int round = 1; round <= 2; ++round) {
    std::printf("round %d\n", round);
    measure("length, select, scroll, replace (the view's sequence)", [&] {
      const std::wstring w = WideFromCp936(text);
      const LRESULT end = SendMessageW(box, WM_GETTEXTLENGTH, 0, 0);
      SendMessageW(box, EM_SETSEL, end, end);
      SendMessageW(box, EM_SCROLLCARET, 0, 0);
      SendMessageW(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(w.c_str()));
    });
    measure("replace alone", [&] {
      SendMessageW(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide.c_str()));
    });
    measure("WM_SETTEXT, then caret to the end", [&] {
      SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
      const LRESULT end = SendMessageW(box, WM_GETTEXTLENGTH, 0, 0);
      SendMessageW(box, EM_SETSEL, end, end);
      SendMessageW(box, EM_SCROLLCARET, 0, 0);
    });
    measure("redraw off, replace, redraw on", [&] {
      SendMessageW(box, WM_SETREDRAW, FALSE, 0);
      SendMessageW(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide.c_str()));
      SendMessageW(box, WM_SETREDRAW, TRUE, 0);
    });
    measure("replace, the same text with CR LF line ends", [&] {
      SendMessageW(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wideCrlf.c_str()));
    });
  }
  const auto readStart = Clock::now();
  const LRESULT n = SendMessageW(box, WM_GETTEXTLENGTH, 0, 0);
  std::wstring back(static_cast<size_t>(n) + 1, L'\0');
  SendMessageW(box, WM_GETTEXT, back.size(), reinterpret_cast<LPARAM>(back.data()));
  const std::string cp936 = Cp936FromWide(back.data(), static_cast<size_t>(n));
  std::printf("read back %zu bytes: %.1f ms\n", cp936.size(), Ms(Clock::now() - readStart));
}

// Row appends alone: one row of three cells through the view (redraw held until the next
// pump), against the same calls on a list that redraws at every row.
void RowAppends(HWND window, int rows) {
  const CollectorView view = MainWindowView(window);
  HWND list = MainWindowOf(window)->taskList;
  const std::string title = "外包餐饮收银系统二次开发", requirement(180, 'x'), address = "http://127.0.0.1:1/task/1";
  for (bool throughView : {true, false}) {
    view.ClearTaskList();
    const auto start = Clock::now();
    for (int i = 0; i < rows; ++i) {
      const int row = throughView ? view.AppendTaskRow() : ListAppendRow(list);
      for (int column = 1; column <= 3; ++column) {
        const std::string& text = column == 1 ? title : column == 2 ? requirement : address;
        if (throughView) view.SetTaskCell(row, column, text);
        else ListSetCell(list, row, column, text);
      }
    }
    ReleaseViewRedraw(window);
    const double ms = Ms(Clock::now() - start);
    std::printf("%d rows appended %s: %.1f ms, %.3f ms a row\n", rows,
                throughView ? "through the view" : "redrawing at every row", ms, ms / rows);
  }
  view.ClearTaskList();
}

void TwentyPages(HWND window, LoopbackServer& server) {
  const std::string listing = server.Url("/c-rjkf/t.html");
  size_t bytes = 0;
  for (int i = 1; i <= 20; ++i) {
    const std::string page = DemoListingPage(1, i, server.Url(""));
    bytes += page.size();
    server.SetReply(ListingPageAddress(listing, i)->substr(server.Url("").size()),
                    {"HTTP/1.1 200 OK", {"Content-Type: text/html; charset=utf-8"}, page});
  }
  Split split;
  PageFetcher fetch = [&](const std::string& url) {
    const auto start = Clock::now();
    Bytes body = WebRequest(url);
    split.fetch += Ms(Clock::now() - start);
    return body;
  };
  const auto start = Clock::now();
  CollectTaskPages(Timed(MainWindowView(window), split), fetch, listing, 20);
  split.total = Ms(Clock::now() - start);
  split.scratch = split.append + split.set + split.get;
  const int rows = static_cast<int>(SendMessageW(MainWindowOf(window)->taskList, LVM_GETITEMCOUNT, 0, 0));
  std::printf("20 pages, %zu bytes, %d rows: total %.1f ms = fetch %.1f + scratch box %.1f + rows %.1f"
              " + progress %.1f + pump %.1f + conversion and cutting %.1f; per page %.1f ms, of which"
              " not fetch or scratch box %.1f ms\n",
              bytes, rows, split.total, split.fetch, split.scratch, split.rows, split.progress, split.pump,
              split.total - split.fetch - split.scratch - split.rows - split.progress - split.pump,
              split.total / 20, (split.total - split.fetch - split.scratch) / 20);
  std::printf("  scratch box: append %.1f, set %.1f, read %.1f ms\n", split.append, split.set, split.get);
}

}  // namespace

int main() {
  HWND window = CreateMainWindow(GetModuleHandleW(nullptr));
  if (!window) return 1;
  ShowWindow(window, SW_SHOWNORMAL);
  LoopbackServer server;
  // TC_BENCH_ONLY: "page" the one-page split alone, "box" the append sequences, "pages" 20 pages.
  const char* only = getenv("TC_BENCH_ONLY");
  if (only && std::string(only) == "box") {
    ScratchSequences(window, 300 * 1024);
    return 0;
  }
  if (only && std::string(only) == "pages") {
    TwentyPages(window, server);
    return 0;
  }
  if (!only) {
    RowAppends(window, 300);
    ScratchSequences(window, 300 * 1024);
  }
  OnePage(window, server, 300 * 1024, 3);
  if (only) return 0;
  TwentyPages(window, server);
  DestroyWindow(window);
  return 0;
}
