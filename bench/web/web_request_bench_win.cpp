// 200 GETs of a 200 KB page from the loopback server through WebRequest, beside the same
// GETs made by a bare WinINet loop in the same run. The bare loop makes the calls WebRequest
// makes (same flags, headers, 1024-byte reads, header query), so the ratio is our own
// overhead; WinINet under Wine is the platform's cost. A third loop also sets the time-outs
// WebRequest sets, to show what they cost the platform. They take turns in short rounds so
// drift of the machine falls on all of them.
//
//   web_request_bench [gets=200] [rounds=20]
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

#include "tests/support/loopback_server_win.h"
#include "web/request_plan.h"
#include "web/web_request.h"

namespace {

using Clock = std::chrono::steady_clock;

void SetTimeouts(HINTERNET handle) {
  DWORD ms = 30000;
  for (DWORD option : {DWORD{INTERNET_OPTION_CONNECT_TIMEOUT}, DWORD{INTERNET_OPTION_SEND_TIMEOUT},
                       DWORD{INTERNET_OPTION_RECEIVE_TIMEOUT}})
    InternetSetOptionA(handle, option, &ms, sizeof ms);
}

// `timeouts`: set the time-outs WebRequest sets, on the same handles.
size_t BareGet(int port, const std::string& path, const std::string& headers, bool timeouts) {
  HINTERNET internet = InternetOpenA(kDefaultUserAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  if (timeouts) SetTimeouts(internet);
  HINTERNET connection =
      InternetConnectA(internet, "127.0.0.1", static_cast<INTERNET_PORT>(port), nullptr, nullptr,
                       INTERNET_SERVICE_HTTP, 0, 0);
  HINTERNET request = HttpOpenRequestA(connection, "GET", path.c_str(), "HTTP/1.1", nullptr, nullptr,
                                       RequestFlags(false, false, false), 0);
  if (timeouts) SetTimeouts(request);
  HttpSendRequestA(request, headers.c_str(), static_cast<DWORD>(headers.size()), nullptr, 0);
  std::string body;
  char chunk[1024];
  DWORD count = 0;
  while (InternetReadFile(request, chunk, sizeof chunk, &count) && count > 0) body.append(chunk, count);
  std::string raw(5000, ' ');
  DWORD length = 5000;
  HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, &raw[0], &length, nullptr);
  InternetCloseHandle(request);
  InternetCloseHandle(connection);
  InternetCloseHandle(internet);
  return body.size();
}

}  // namespace

int main(int argc, char** argv) {
  const int gets = argc > 1 ? std::atoi(argv[1]) : 200;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 20;
  const size_t pageSize = 200 * 1024;

  LoopbackServer server;
  std::string page(pageSize, 'x');
  for (size_t i = 0; i < page.size(); i += 97) page[i] = '\n';
  server.SetReply("/page.html", {"HTTP/1.1 200 OK", {"Content-Type: text/html"}, page});
  const std::string url = server.Url("/page.html");
  const std::string headers = HeaderBlock("", nullptr);

  // One of each first, so none pays for loading WinINet or creating the cache.
  WebRequest(url);
  BareGet(server.Port(), "/page.html", headers, false);

  // Per round, the seconds spent by: WebRequest, the bare loop, the bare loop with
  // WebRequest's time-outs. Other work on the machine comes in bursts, so the median round
  // is the figure to go by; the totals are printed beside it.
  std::vector<double> seconds[3];
  int bad = 0;
  const int perRound = gets / rounds;
  const auto run = [&](int which) {
    const Clock::time_point t0 = Clock::now();
    for (int i = 0; i < perRound; ++i) {
      const size_t size = which == 0 ? WebRequest(url).size() : BareGet(server.Port(), "/page.html", headers, which == 2);
      bad += size != pageSize;
    }
    seconds[which].push_back(std::chrono::duration<double>(Clock::now() - t0).count());
  };
  // Each goes first in turn.
  for (int r = 0; r < rounds; ++r)
    for (int k = 0; k < 3; ++k) run((r + k) % 3);

  const int total = perRound * rounds;
  const char* const names[3] = {"WebRequest", "bare WinINet", "bare WinINet + time-outs"};
  double median[3];
  std::printf("%d GETs each of a %zu-byte page from 127.0.0.1, in %d rounds of %d\n", total, pageSize, rounds,
              perRound);
  for (int k = 0; k < 3; ++k) {
    std::vector<double> sorted = seconds[k];
    std::sort(sorted.begin(), sorted.end());
    median[k] = sorted[sorted.size() / 2] / perRound;
    const double sum = std::accumulate(sorted.begin(), sorted.end(), 0.0);
    std::printf("%-25s median %7.3f ms a GET, best round %7.3f ms, total %7.3f s\n", names[k], 1000 * median[k],
                1000 * sorted.front() / perRound, sum);
  }
  std::printf("WebRequest / bare WinINet: %.3f (goal: at most 1.2)\n", median[0] / median[1]);
  std::printf("WebRequest / bare WinINet + time-outs: %.3f\n", median[0] / median[2]);
  if (bad) std::printf("%d GETs returned a wrong size\n", bad);
  return bad ? 1 : 0;
}
