// The text operations on a listing page of about 1 MB, beside glibc memmem over the same bytes
// (the fastest byte search the machine has) and the plain character walk the fast searches
// must agree with.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <string>

#include "tests/text/text_reference.h"
#include "text/codepage.h"
#include "text/text.h"

namespace {

const char* const kSeparator = ">参与</";

// Chinese words as CP936 (the sources are compiled to code page 936).
const char* const kWords[] = {"开发", "一个", "网站", "软件", "需求", "系统", "管理", "手机",
                              "客户端", "数据", "采集", "工具", "设计", "程序", "接口", "支付",
                              "小程序", "后台", "功能", "要求", "完成", "预算", "联系", "微信"};

std::string Words(std::mt19937& rng, int count) {
  std::string s;
  for (int i = 0; i < count; ++i) s += kWords[rng() % (sizeof kWords / sizeof *kWords)];
  return s;
}

// A listing page shaped like the marketplace's: a head, the task table with one block per task
// ending at the separator, and the footer marker that closes the table.
std::string ListingPage(size_t targetBytes) {
  std::mt19937 rng(7);
  std::string page =
      "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>软件开发 任务大厅</title>"
      "<link rel=\"stylesheet\" href=\"/css/list.css\"></head><body><div class=\"nav\">";
  for (int i = 0; i < 40; ++i) page += "<a href=\"/c/" + std::to_string(i) + "/\">" + Words(rng, 2) + "</a>";
  page += "</div><table class=\"list-task\">";
  for (int id = 100000; page.size() < targetBytes; ++id) {
    page += "<tr><td class=\"left\"><a class=\"list-task-title\" href=\"http://task.qingshifang.com/task/" +
            std::to_string(id) + "/\" target=\"_blank\" data=\"{obj:'main'}\">" + Words(rng, 6) +
            "</a><p class=\"list-task-ctn\">" + Words(rng, 40) +
            "</p></td><td class=\"price\">￥" + std::to_string(rng() % 9000 + 100) +
            "</td><td class=\"state\"><a href=\"/task/" + std::to_string(id) + "/join\">参与</a></td></tr>";
  }
  page += "</table><dl><dd><a href=\"/credit/\">诚信管理中心</a></dd></dl></body></html>";
  return page;
}

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
