// Figures under Wine for docs/performance.md and the soak run: plain programs that print
// "name value" lines for bench/run.sh and bench/soak.sh, never timed tests.
//
//   perf_win gets URL N                  N GETs through WebRequest, then N through a bare
//                                        WinINet loop making the same calls with the same flags
//   perf_win collect LISTING N ROWS      the program's command collecting N pages of LISTING,
//                                        its time split by view operation; the rows go to
//                                        ROWS (UTF-8, tab-separated) to compare with the peer
//   perf_win soak LISTING N AT...        the command collecting N pages; working set, handles
//                                        and GDI objects when page AT... is done
//   perf_win box                         the scratch box's cost per KB of text put into it,
//                                        by line length
//
// The window is the program's own main window with its skin attached, and the command is the
// program's own (page count read from the page box, then the collection); only this process's
// entry point differs from the program's, so that it can count pages and time the parts.
#include <windows.h>
#include <winternl.h>

#include <commctrl.h>
#include <psapi.h>
#include <wininet.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "app/collector_view_win.h"
#include "app/commands_win.h"
#include "app/controls_win.h"
#include "app/main_window_win.h"
#include "app/skin_deploy.h"
#include "collect/collector.h"
#include "text/codepage.h"
#include "text/text.h"
#include "web/web_request.h"
#include "web/url.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// --- gets -----------------------------------------------------------------------------------

// The request as WebRequest makes it (time-outs set, reads no larger than what has arrived,
// its cache entry deleted), without anything of ours around the WinINet calls.
size_t BareGet(const std::string& url) {
  HINTERNET internet = InternetOpenA("Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)",
                                     INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  const auto setTimeouts = [](HINTERNET handle) {
    DWORD timeout = 30000;
    for (DWORD option : {DWORD{INTERNET_OPTION_CONNECT_TIMEOUT}, DWORD{INTERNET_OPTION_SEND_TIMEOUT},
                         DWORD{INTERNET_OPTION_RECEIVE_TIMEOUT}})
      InternetSetOptionA(handle, option, &timeout, sizeof timeout);
  };
  setTimeouts(internet);
  HINTERNET connection = InternetConnectA(internet, UrlHost(url).c_str(),
                                          static_cast<INTERNET_PORT>(UrlPort(url)), nullptr, nullptr,
                                          INTERNET_SERVICE_HTTP, 0, 0);
  HINTERNET request = HttpOpenRequestA(connection, "GET", UrlPath(url).c_str(), "HTTP/1.1", nullptr,
                                       nullptr,
                                       INTERNET_FLAG_RELOAD | INTERNET_FLAG_NEED_FILE |
                                           INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS | INTERNET_FLAG_NO_AUTO_REDIRECT,
                                       0);
  setTimeouts(request);
  static const char kHeaders[] =
      "Accept: */*\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded";
  HttpSendRequestA(request, kHeaders, sizeof kHeaders - 1, nullptr, 0);
  char headers[5000];
  DWORD length = sizeof headers;
  HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, headers, &length, nullptr);
  size_t total = 0;
  char chunk[1024];
  DWORD count = 0, ready = 0;
  for (;;) {
    DWORD want = sizeof chunk;
    if (InternetQueryDataAvailable(request, &ready, 0, 0) && ready > 0 && ready < want) want = ready;
    if (!InternetReadFile(request, chunk, want, &count) || count == 0) break;
    total += count;
  }
  char key[INTERNET_MAX_URL_LENGTH];
  DWORD keyLength = sizeof key;
  if (!InternetQueryOptionA(request, INTERNET_OPTION_URL, key, &keyLength)) key[0] = '\0';
  InternetCloseHandle(request);
  InternetCloseHandle(connection);
  InternetCloseHandle(internet);
  if (key[0]) DeleteUrlCacheEntryA(key);
  return total;
}

// The two clients take turns, one request each, so that neither pays alone for what grows
// over the run (WinINet's cache files, the server's state).
int Gets(const std::string& url, int n) {
  size_t bytes = 0, bareBytes = 0;
  WebRequest(url);  // binds the table's entries and warms the connection path
  BareGet(url);
  double ours = 0, bare = 0;
  for (int i = 0; i < n; ++i) {
    auto start = Clock::now();
    bytes += WebRequest(url).size();
    ours += Ms(Clock::now() - start);
    start = Clock::now();
    bareBytes += BareGet(url);
    bare += Ms(Clock::now() - start);
  }
  std::printf("gets_webrequest_ms %.3f\ngets_webrequest_bytes %zu\n", ours / n, bytes / n);
  std::printf("gets_wininet_ms %.3f\ngets_wininet_bytes %zu\n", bare / n, bareBytes / n);
  return bytes == bareBytes && bytes > 0 ? 0 : 1;
}

// --- the window and the command -------------------------------------------------------------

HWND OpenWindow() {
  HWND window = CreateMainWindow(GetModuleHandleW(nullptr));
  if (!window) return nullptr;
  // As the program's created event does; TC_PERF_NO_SKIN=1 leaves the window unskinned, to
  // see what the skin engine costs.
  if (const char* noSkin = std::getenv("TC_PERF_NO_SKIN"); !noSkin || std::strcmp(noSkin, "1") != 0) ApplyEmbeddedSkin(3);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  return window;
}

void SetPageCount(HWND window, int pages) {
  SetControlText(MainWindowOf(window)->pageCount, IntToText(pages));
}

struct Split {
  double fetch = 0, conversion = 0, scratch = 0, rows = 0, progress = 0, pump = 0;
};

// Adds the time of every call of `fn` to `into`.
template <typename Fn>
auto Timed(double& into, Fn fn) {
  return [&into, fn](auto&&... args) {
    const auto start = Clock::now();
    struct Add {
      double& into;
      Clock::time_point start;
      ~Add() { into += Ms(Clock::now() - start); }
    } add{into, start};
    return fn(std::forward<decltype(args)>(args)...);
  };
}

std::string Utf8FromCp936(const std::string& text) {
  const Bytes units = MultiByteToUnicode(text, 936);
  const int n = WideCharToMultiByte(CP_UTF8, 0, reinterpret_cast<const wchar_t*>(units.data()), -1,
                                    nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, reinterpret_cast<const wchar_t*>(units.data()), -1, &out[0], n,
                      nullptr, nullptr);
  out.resize(std::strlen(out.c_str()));
  return out;
}

int Collect(const std::string& listing, int pages, const char* rowsFile) {
  HWND window = OpenWindow();
  if (!window) return 1;
  SetPageCount(window, pages);
  const MainWindow* state = MainWindowOf(window);
  Split split;
  size_t bodyBytes = 0;
  // The program's command, with each view operation timed. The page count is read from the
  // box as the command does; the fetch is WebRequest as the command's. The conversion is
  // timed on the same body right after the fetch, outside the collection's own steps.
  const CollectorView plain = MainWindowView(window);
  CollectorView view;
  view.ClearTaskList = Timed(split.rows, plain.ClearTaskList);
  view.AppendTaskRow = Timed(split.rows, plain.AppendTaskRow);
  view.SetTaskCell = Timed(split.rows, plain.SetTaskCell);
  view.TaskRowCount = Timed(split.rows, plain.TaskRowCount);
  view.SetProgressPosition = Timed(split.progress, plain.SetProgressPosition);
  view.HideProgressBar = Timed(split.progress, plain.HideProgressBar);
  view.SetScratchText = Timed(split.scratch, plain.SetScratchText);
  view.AppendScratchText = Timed(split.scratch, plain.AppendScratchText);
  view.GetScratchText = Timed(split.scratch, plain.GetScratchText);
  view.PumpEvents = Timed(split.pump, plain.PumpEvents);
  double measuring = 0;  // the second conversion, not part of the collection
  const PageFetcher fetch = [&](const std::string& url) {
    auto start = Clock::now();
    Bytes body = WebRequest(url);
    split.fetch += Ms(Clock::now() - start);
    bodyBytes += body.size();
    start = Clock::now();
    const std::string converted = Utf8ToAnsi(BytesToText(body));
    split.conversion += Ms(Clock::now() - start);
    measuring += Ms(Clock::now() - start);
    return body;
  };
  const auto start = Clock::now();
  CollectTaskPages(view, fetch, listing, TextToInt(ControlText(state->pageCount)));
  const double total = Ms(Clock::now() - start) - measuring;
  const double cutting = total - split.fetch - split.conversion - split.scratch - split.rows -
                         split.progress - split.pump;
  const int rows = ListRowCount(state->taskList);

  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  std::printf("collect_pages %d\ncollect_rows %d\ncollect_bytes %zu\n", pages, rows, bodyBytes);
  std::printf("collect_total_ms %.1f\ncollect_fetch_ms %.1f\ncollect_conversion_ms %.1f\n", total,
              split.fetch, split.conversion);
  std::printf("collect_cutting_ms %.1f\ncollect_scratch_ms %.1f\ncollect_rows_ms %.1f\n", cutting,
              split.scratch, split.rows);
  std::printf("collect_progress_pump_ms %.1f\n", split.progress + split.pump);
  std::printf("collect_peak_working_set_kb %zu\n", static_cast<size_t>(memory.PeakWorkingSetSize / 1024));

  if (FILE* out = std::fopen(rowsFile, "wb")) {
    for (int r = 0; r < rows; ++r) {
      for (int c = 1; c <= 3; ++c) {
        const std::string cell = Utf8FromCp936(ListCell(state->taskList, r, c));
        std::fwrite(cell.data(), 1, cell.size(), out);
        std::fputc(c < 3 ? '\t' : '\n', out);
      }
    }
    std::fclose(out);
  }
  DestroyWindow(window);
  return rows > 0 ? 0 : 1;
}

// --- soak -----------------------------------------------------------------------------------

struct Sample {
  size_t workingSetKb, privateKb, handles, gdi;
};

// Wine answers GetProcessHandleCount and GetGuiResources with 0, so both counts are taken
// where Wine keeps them, as on Windows: the system's handle list, filtered by process, and the
// GDI handle table the process's PEB points to (in Wine it lists this process's objects only).
size_t HandleCount() {
  using QuerySystemInformation = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
  const auto query = reinterpret_cast<QuerySystemInformation>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
  struct Entry {
    ULONG pid;
    BYTE type, flags;
    USHORT value;
    void* object;
    ULONG access;
  };
  std::vector<char> buffer(1 << 20);
  ULONG length = 0;
  const ULONG kSystemHandleInformation = 16;
  LONG status;
  while ((status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &length)) ==
         static_cast<LONG>(0xC0000004))  // STATUS_INFO_LENGTH_MISMATCH
    buffer.resize(buffer.size() * 2);
  if (status != 0) return 0;
  const ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
  const Entry* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(void*));
  size_t mine = 0;
  for (ULONG i = 0; i < count; ++i) mine += entries[i].pid == GetCurrentProcessId();
  return mine;
}

size_t GdiObjectCount() {
  struct Cell {
    void* kernel;
    USHORT owner, lock, unique;
    BYTE type, flags;
    void* user;
  };
  const char* peb = reinterpret_cast<const char*>(NtCurrentTeb()->ProcessEnvironmentBlock);
  const Cell* table = *reinterpret_cast<const Cell* const*>(peb + 0xF8);  // GdiSharedHandleTable
  if (!table) return 0;
  size_t n = 0;
  for (int i = 0; i < 0x10000; ++i) n += table[i].type != 0;
  return n;
}

Sample Take() {
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  return {static_cast<size_t>(memory.WorkingSetSize / 1024), static_cast<size_t>(memory.PagefileUsage / 1024),
          HandleCount(), GdiObjectCount()};
}

Clock::time_point g_soakStart;
int g_pageStarts = 0;
std::set<int> g_sampleAt;
WNDPROC g_barProc = nullptr;

void Print(int pagesDone, const Sample& s) {
  std::printf("soak_page %d working_set_kb %zu private_kb %zu handles %zu gdi %zu seconds %.1f\n",
              pagesDone, s.workingSetKb, s.privateKb, s.handles, s.gdi,
              Ms(Clock::now() - g_soakStart) / 1000);
  std::fflush(stdout);
}

// Every page starts by moving the bar to 10: page k starting means k - 1 pages are done.
LRESULT CALLBACK CountingBar(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == PBM_SETPOS && wParam == 10) {
    const int done = g_pageStarts++;
    if (g_sampleAt.count(done)) Print(done, Take());
  }
  return CallWindowProcW(g_barProc, bar, message, wParam, lParam);
}

int Soak(const std::string& listing, int pages, char** at, int atCount) {
  for (int i = 0; i < atCount; ++i) g_sampleAt.insert(std::atoi(at[i]));
  HWND window = OpenWindow();
  if (!window) return 1;
  const MainWindow* state = MainWindowOf(window);
  g_barProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(state->progress, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingBar)));
  SetPageCount(window, pages);
  g_soakStart = Clock::now();
  Print(0, Take());
  CollectListing(window, listing);  // the command: page count from the box, then the collection
  Print(pages, Take());
  std::printf("soak_rows %d\nsoak_seconds %.1f\n", ListRowCount(state->taskList),
              Ms(Clock::now() - g_soakStart) / 1000);
  DestroyWindow(window);
  return 0;
}

// --- the scratch box ------------------------------------------------------------------------

// Text put into the program's scratch box as the collector puts a page (AppendScratchText),
// 64 KB at a time in lines of a given length: under Wine the word-wrapping edit control's cost
// grows with the length of the lines.
int Box() {
  HWND window = OpenWindow();
  if (!window) return 1;
  const HWND box = MainWindowOf(window)->scratch;
  for (int line : {80, 1000, 5000, 20000}) {
    std::string text;
    while (text.size() < 64 * 1024) {
      for (int i = 0; i < line; ++i) text += i % 8 == 7 ? ' ' : static_cast<char>('a' + i % 26);
      text += "\r\n";
    }
    SetControlText(box, std::string());
    const auto start = Clock::now();
    EditAppendText(box, text);
    const double ms = Ms(Clock::now() - start);
    std::printf("box_line_%d_ms_per_kb %.2f\n", line, ms / (static_cast<double>(text.size()) / 1024));
    std::fflush(stdout);
  }
  DestroyWindow(window);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "gets" && argc == 4) return Gets(argv[2], std::atoi(argv[3]));
  if (mode == "collect" && argc == 5) return Collect(argv[2], std::atoi(argv[3]), argv[4]);
  if (mode == "box" && argc == 2) return Box();
  if (mode == "soak" && argc >= 4) return Soak(argv[2], std::atoi(argv[3]), argv + 4, argc - 4);
  std::fprintf(stderr, "usage: perf_win gets URL N | collect LISTING N ROWS | soak LISTING N AT... | box\n");
  return 2;
}
