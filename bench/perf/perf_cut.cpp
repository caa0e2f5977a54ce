// The program's own work on one listing page of about 300 KB, natively: the conversion from
// UTF-8, the cutting into rows (through a view that only keeps what it is given), and one
// memmem pass over the converted page for the block separator, the floor any cutter is held
// against. The page is written to a file so the Python peer cuts the very same bytes.
// Prints "name value" lines (best of many runs, in ms) for bench/run.sh.
//   perf_cut PAGE_FILE
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "collect/collector.h"
#include "collect/page_cutter.h"
#include "text/codepage.h"
#include "text/text.h"
#include "tools/demo/demo_pages.h"

namespace {

using Clock = std::chrono::steady_clock;

// The best of `runs` timings of `job`, in milliseconds.
double Best(int runs, const std::function<void()>& job) {
  double best = 1e300;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    job();
    best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  return best;
}

// A demo listing page of about `size` bytes: its head and tail around task rows of the
// demo marketplace's first listing, taken in order and repeated as needed.
std::string ListingPage(size_t size) {
  const std::string page = DemoListingPage(0, 1, "http://127.0.0.1:8080");
  const std::string rowStart = "<tr class=\"list-task-item\"";
  const size_t firstRow = page.find(rowStart);
  const size_t tableEnd = page.find("</table>", firstRow);
  std::vector<std::string> rows;
  for (size_t at = firstRow; at < tableEnd;) {
    const size_t next = std::min(page.find(rowStart, at + 1), tableEnd);
    rows.push_back(page.substr(at, next - at));
    at = next;
  }
  const std::string head = page.substr(0, firstRow), tail = page.substr(tableEnd);
  std::string grown = head;
  for (size_t i = 0; grown.size() + rows[i % rows.size()].size() + tail.size() <= size; ++i)
    grown += rows[i % rows.size()];
  return grown + tail;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: perf_cut PAGE_FILE\n");
    return 2;
  }
  const std::string utf8 = ListingPage(300 * 1024);
  if (FILE* f = std::fopen(argv[1], "wb")) {
    std::fwrite(utf8.data(), 1, utf8.size(), f);
    std::fclose(f);
  } else {
    return 1;
  }
  const Bytes body(utf8.begin(), utf8.end());
  const std::string page = Utf8ToAnsi(BytesToText(body));

  std::string scratch;
  int rows = 0;
  CollectorView view;
  view.ClearTaskList = [&] { rows = 0; };
  view.AppendTaskRow = [&] { return rows++; };
  view.SetTaskCell = [](int, int, const std::string&) {};
  view.TaskRowCount = [&] { return rows; };
  view.SetProgressPosition = [](int) {};
  view.HideProgressBar = [] {};
  view.SetScratchText = [&](const std::string& text) { scratch = text; };
  view.AppendScratchText = [&](const std::string& text) { scratch += text; };
  view.GetScratchText = [&] { return scratch; };
  view.PumpEvents = [] { return true; };

  const double convert = Best(200, [&] { Utf8ToAnsi(BytesToText(body)); });
  const double cut = Best(200, [&] {
    scratch.clear();
    rows = 0;
    CutPageIntoRows(view, page);
  });
  const char separator[] = ">参与</";
  int found = 0;
  const double memmemPass = Best(500, [&] {
    found = 0;
    const char* at = page.data();
    const char* end = page.data() + page.size();
    while (const void* hit = memmem(at, static_cast<size_t>(end - at), separator, sizeof separator - 1)) {
      ++found;
      at = static_cast<const char*>(hit) + sizeof separator - 1;
    }
  });
  std::printf("cut_page_bytes %zu\ncut_rows %d\ncut_separators %d\n", utf8.size(), rows, found);
  std::printf("cut_conversion_ms %.4f\ncut_cutting_ms %.4f\ncut_memmem_ms %.4f\n", convert, cut, memmemPass);
  return rows > 0 ? 0 : 1;
}
