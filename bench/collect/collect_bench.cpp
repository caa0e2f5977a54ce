// One listing page of the demo marketplace (the largest, about 280 KB), measured in steps:
// the UTF-8 to CP936 conversion, cutting the converted page into rows, the scratch box round
// trips, and one memmem pass over the page for the block separator (the floor any cutter is
// held against). After the benchmarks the Python peer (BeautifulSoup+lxml, and a compiled
// re) cuts the same bytes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/collect/row_store.h"
#include "collect/collector.h"
#include "collect/page_cutter.h"
#include "text/codepage.h"
#include "tools/demo/demo_pages.h"

namespace {

const std::string& PageUtf8() {
  static const std::string page = [] {
    std::string largest;
    for (int l = 0; l < static_cast<int>(DemoListings().size()); ++l)
      for (int p = 1; p <= DemoListings()[l].pageCount; ++p) {
        std::string page = DemoListingPage(l, p, "http://127.0.0.1:8080");
        if (page.size() > largest.size()) largest.swap(page);
      }
    return largest;
  }();
  return page;
}

const std::string& PageCp936() {
  static const std::string page = Utf8ToAnsi(PageUtf8());
  return page;
}

void BM_ConvertFromUtf8(benchmark::State& state) {
  const Bytes body(PageUtf8().begin(), PageUtf8().end());
  for (auto _ : state) benchmark::DoNotOptimize(Utf8ToAnsi(BytesToText(body)));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(body.size()));
}
BENCHMARK(BM_ConvertFromUtf8)->Unit(benchmark::kMicrosecond);

// The cutting proper: the task table out of the page, then one row per block.
void BM_CutIntoRows(benchmark::State& state) {
  RowStore store;
  const CollectorView view = store.View();
  for (auto _ : state) {
    store.cells.clear();
    store.rows = 0;
    AppendTaskRows(view, CutTaskTable(PageCp936()));
  }
  state.counters["rows"] = store.rows;
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(PageCp936().size()));
}
BENCHMARK(BM_CutIntoRows)->Unit(benchmark::kMicrosecond);

// What the scratch box round trips cost when the box is a plain string: the floor of the
// box's share (the real box under Wine costs far more and is measured there).
void BM_ScratchBoxRoundTrips(benchmark::State& state) {
  RowStore store;
  const CollectorView view = store.View();
  const std::string table = CutTaskTable(PageCp936());
  for (auto _ : state) {
    view.SetScratchText(std::string());
    view.AppendScratchText(PageCp936());
    benchmark::DoNotOptimize(view.GetScratchText());
    view.SetScratchText(table);
    benchmark::DoNotOptimize(view.GetScratchText());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(PageCp936().size()));
}
BENCHMARK(BM_ScratchBoxRoundTrips)->Unit(benchmark::kMicrosecond);

// Cutting as the collector does it, through the box.
void BM_CutThroughScratchBox(benchmark::State& state) {
  RowStore store;
  const CollectorView view = store.View();
  for (auto _ : state) {
    store.scratch.clear();
    store.cells.clear();
    store.rows = 0;
    CutPageIntoRows(view, PageCp936());
  }
  state.counters["rows"] = store.rows;
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(PageCp936().size()));
}
BENCHMARK(BM_CutThroughScratchBox)->Unit(benchmark::kMicrosecond);

void BM_MemmemSeparator(benchmark::State& state) {
  const std::string& page = PageCp936();
  const char separator[] = ">参与</";
  const size_t length = std::strlen(separator);
  int found = 0;
  for (auto _ : state) {
    found = 0;
    const char* at = page.data();
    const char* end = page.data() + page.size();
    while (const void* hit = memmem(at, end - at, separator, length)) {
      ++found;
      at = static_cast<const char*>(hit) + length;
    }
    benchmark::DoNotOptimize(found);
  }
  state.counters["separators"] = found;
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(page.size()));
}
BENCHMARK(BM_MemmemSeparator)->Unit(benchmark::kMicrosecond);

// The whole page as the collector does it, conversion included.
void BM_CollectOnePage(benchmark::State& state) {
  RowStore store;
  const CollectorView view = store.View();
  const Bytes body(PageUtf8().begin(), PageUtf8().end());
  const PageFetcher fetch = [&](const std::string&) { return body; };
  for (auto _ : state) CollectTaskPages(view, fetch, "http://127.0.0.1:8080/c-rjkf/t.html", 1);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(body.size()));
}
BENCHMARK(BM_CollectOnePage)->Unit(benchmark::kMicrosecond);

// Hands the same bytes to the Python peer, which prints its own timings.
void RunPythonPeer() {
  const char* path = "/tmp/tc_collect_bench_page.html";
  if (FILE* f = std::fopen(path, "wb")) {
    std::fwrite(PageUtf8().data(), 1, PageUtf8().size(), f);
    std::fclose(f);
  } else {
    return;
  }
  std::printf("\nPython peer on the same %zu bytes:\n", PageUtf8().size());
  std::fflush(stdout);
  const std::string command = std::string("/usr/bin/python3 ") + TC_PEER_SCRIPT + " " + path;
  if (std::system(command.c_str()) != 0) std::printf("(the Python peer did not run)\n");
  std::remove(path);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  std::printf("page: %zu bytes UTF-8, %zu bytes CP936\n", PageUtf8().size(), PageCp936().size());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (!std::getenv("TC_NO_PEER")) RunPythonPeer();
  return 0;
}
