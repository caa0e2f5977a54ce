// Timings of the text operations as the Windows program runs them: the conversion on the
// system's functions and the searches on the C runtime's memchr. A plain timing program, run
// under Wine: cmake/wine-run.sh build/win64/bench/text/text_timing_win.exe
#include <chrono>
#include <cstdio>
#include <string>

#include "bench/text/listing_page.h"
#include "text/codepage.h"
#include "text/text.h"

namespace {

// Best of several rounds, in milliseconds.
template <class Fn>
double BestMs(int rounds, Fn fn) {
  double best = 1e300;
  for (int i = 0; i < rounds; ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    fn();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - t0;
    if (took.count() < best) best = took.count();
  }
  return best;
}

void Report(const char* name, size_t bytes, double ms) {
  std::printf("%-28s %8.3f ms  %8.1f MB/s\n", name, ms, bytes / 1e6 / (ms / 1e3));
}

volatile size_t g_sink;

}  // namespace

int main() {
  const std::string page = bench_text::ListingPage(1 << 20);
  const std::string utf8 = UnicodeToMultiByte(MultiByteToUnicode(page, 936), 65001);
  const int rounds = 30;
  std::printf("page: %zu bytes CP936, %zu bytes UTF-8\n", page.size(), utf8.size());
  Report("MultiByteToUnicode (UTF-8)", utf8.size(),
         BestMs(rounds, [&] { g_sink = MultiByteToUnicode(utf8).size(); }));
  const Bytes units = MultiByteToUnicode(utf8);
  Report("UnicodeToMultiByte (936)", units.size(),
         BestMs(rounds, [&] { g_sink = UnicodeToMultiByte(units, 936).size(); }));
  Report("Utf8ToAnsi", utf8.size(), BestMs(rounds, [&] { g_sink = Utf8ToAnsi(utf8).size(); }));
  Report("TextFind (absent)", page.size(),
         BestMs(rounds, [&] { g_sink = static_cast<size_t>(TextFind(page, "<table class=\"none\">")); }));
  Report("TextSplit (blocks)", page.size(),
         BestMs(rounds, [&] { g_sink = TextSplit(page, bench_text::kSeparator).size(); }));
  Report("TextBetween (task table)", page.size(), BestMs(rounds, [&] {
           g_sink = TextBetween(page, "<table class=#引号list-task#引号>", "诚信管理中心</a></dd>").size();
         }));
  return 0;
}
