// The text operations on a listing page of about 1 MB, beside glibc memmem over the same bytes
// (the fastest byte search the machine has) and the plain character walk the fast searches
// must agree with.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "bench/text/listing_page.h"
#include "tests/text/text_reference.h"
#include "text/codepage.h"
#include "text/text.h"

namespace {

using bench_text::kSeparator;
using bench_text::ListingPage;

const std::string& Page() {
  static const std::string page = ListingPage(1 << 20);
  return page;
}

void SetBytes(benchmark::State& state, size_t bytes) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

// One memmem pass over the page counting the separator: the floor for cutting it into blocks.
void BM_MemmemSeparator(benchmark::State& state) {
  const std::string& page = Page();
  const size_t m = std::strlen(kSeparator);
  for (auto _ : state) {
    int found = 0;
    const char* p = page.data();
    const char* const end = page.data() + page.size();
    while (const void* hit = memmem(p, static_cast<size_t>(end - p), kSeparator, m)) {
      ++found;
      p = static_cast<const char*>(hit) + m;
    }
    benchmark::DoNotOptimize(found);
  }
  SetBytes(state, page.size());
}
BENCHMARK(BM_MemmemSeparator);

void BM_TextSplitBlocks(benchmark::State& state) {
  const std::string& page = Page();
  size_t blocks = 0;
  for (auto _ : state) {
    TextArray parts = TextSplit(page, kSeparator);
    blocks = parts.size();
    benchmark::DoNotOptimize(parts);
  }
  state.counters["blocks"] = static_cast<double>(blocks);
  SetBytes(state, page.size());
}
BENCHMARK(BM_TextSplitBlocks);

void BM_PlainWalkSplitBlocks(benchmark::State& state) {
  const std::string& page = Page();
  for (auto _ : state) benchmark::DoNotOptimize(reference::Split(page, kSeparator, std::nullopt));
  SetBytes(state, page.size());
}
BENCHMARK(BM_PlainWalkSplitBlocks);

// A marker that is not there: every operation reads the whole page once.
const char* const kAbsent = "<table class=\"none\">";

void BM_MemmemAbsent(benchmark::State& state) {
  const std::string& page = Page();
  for (auto _ : state) {
    benchmark::DoNotOptimize(memmem(page.data(), page.size(), kAbsent, std::strlen(kAbsent)));
  }
  SetBytes(state, page.size());
}
BENCHMARK(BM_MemmemAbsent);

void BM_TextFindAbsent(benchmark::State& state) {
  const std::string& page = Page();
  for (auto _ : state) benchmark::DoNotOptimize(TextFind(page, kAbsent));
  SetBytes(state, page.size());
}
BENCHMARK(BM_TextFindAbsent);

void BM_TextFindAbsentIgnoreCase(benchmark::State& state) {
  const std::string& page = Page();
  for (auto _ : state) benchmark::DoNotOptimize(TextFind(page, kAbsent, 1, true));
  SetBytes(state, page.size());
}
BENCHMARK(BM_TextFindAbsentIgnoreCase);

void BM_PlainWalkFindAbsent(benchmark::State& state) {
  const std::string& page = Page();
  for (auto _ : state) benchmark::DoNotOptimize(reference::Find(page, kAbsent, 1, false));
  SetBytes(state, page.size());
}
BENCHMARK(BM_PlainWalkFindAbsent);

void BM_TextFindLastAbsent(benchmark::State& state) {
  const std::string& page = Page();
  for (auto _ : state) benchmark::DoNotOptimize(TextFindLast(page, kAbsent));
  SetBytes(state, page.size());
}
BENCHMARK(BM_TextFindLastAbsent);

// The task table: its left marker near the top, its right marker at the very end.
void BM_TextBetweenTaskTable(benchmark::State& state) {
  const std::string& page = Page();
  for (auto _ : state) {
    benchmark::DoNotOptimize(TextBetween(page, "<table class=#引号list-task#引号>", "诚信管理中心</a></dd>"));
  }
  SetBytes(state, page.size());
}
BENCHMARK(BM_TextBetweenTaskTable);

// All the cutting of one page: the table, its blocks, and three fields of every block.
void BM_CutListingPage(benchmark::State& state) {
  const std::string& page = Page();
  for (auto _ : state) {
    const std::string table =
        TextBetween(page, "<table class=#引号list-task#引号>", "诚信管理中心</a></dd>");
    const TextArray blocks = TextSplit(table, kSeparator);
    size_t cut = 0;
    for (int i = 1; i < Count(blocks); ++i) {
      const std::string& block = Element(blocks, i);
      cut += TextBetween(block, "#引号{obj:'main'}#引号>", "</a>").size();
      cut += TextBetween(block, "#引号list-task-title#引号 href=#引号", "/#引号 target=#引号_blank#引号").size();
      cut += TextBetween(block, "<p class=#引号list-task-ctn#引号>", "</p></td>").size();
    }
    benchmark::DoNotOptimize(cut);
  }
  SetBytes(state, page.size());
}
BENCHMARK(BM_CutListingPage);

void BM_TextReplaceIgnoreCase(benchmark::State& state) {
  const std::string& page = Page();
  for (auto _ : state) benchmark::DoNotOptimize(TextReplace(page, "<TD", "<th"));
  SetBytes(state, page.size());
}
BENCHMARK(BM_TextReplaceIgnoreCase);

void BM_TextRemoveSpaces(benchmark::State& state) {
  const std::string& page = Page();
  for (auto _ : state) benchmark::DoNotOptimize(TextRemoveSpaces(page));
  SetBytes(state, page.size());
}
BENCHMARK(BM_TextRemoveSpaces);

// The page as the server sends it (UTF-8), converted the way every fetched page is.
void BM_Utf8ToAnsi(benchmark::State& state) {
  const std::string utf8 = UnicodeToMultiByte(MultiByteToUnicode(Page(), 936), 65001);
  for (auto _ : state) benchmark::DoNotOptimize(Utf8ToAnsi(utf8));
  SetBytes(state, utf8.size());
}
BENCHMARK(BM_Utf8ToAnsi);

}  // namespace

BENCHMARK_MAIN();
