// Under Wine: one demo listing page (the largest, about 280 KB) through the Windows path of
// the collector: conversion through MultiByteToWideChar / WideCharToMultiByte, cutting, the
// scratch box round trips in memory, and a whole page collected over WebRequest from a
// loopback server. A plain timing program: best of several runs, printed in microseconds.
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/collect/row_store.h"
#include "collect/collector.h"
#include "collect/page_cutter.h"
#include "tests/support/loopback_server_win.h"
#include "text/codepage.h"
#include "tools/demo/demo_pages.h"
#include "web/web_request.h"

namespace {

double BestMicroseconds(int runs, const std::function<void()>& job) {
  double best = 1e300;
  for (int r = 0; r < runs; ++r) {
    const auto start = std::chrono::steady_clock::now();
    job();
    const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
    if (took.count() < best) best = took.count();
  }
  return best;
}

}  // namespace

int main() {
  LoopbackServer server;
  const std::string site = server.Url("");
  std::string page;
  int listing = 0, number = 0;
  for (int l = 0; l < static_cast<int>(DemoListings().size()); ++l)
    for (int p = 1; p <= DemoListings()[l].pageCount; ++p) {
      std::string candidate = DemoListingPage(l, p, site);
      if (candidate.size() > page.size()) page.swap(candidate), listing = l, number = p;
    }
  const std::string converted = Utf8ToAnsi(page);
  std::printf("page: %zu bytes UTF-8, %zu bytes CP936\n", page.size(), converted.size());

  RowStore store;
  const CollectorView view = store.View();
  volatile size_t sink = 0;

  const double convert = BestMicroseconds(20, [&] { sink = sink + Utf8ToAnsi(page).size(); });
  const double cut = BestMicroseconds(200, [&] {
    store.cells.clear();
    AppendTaskRows(view, CutTaskTable(converted));
  });
  const double throughBox = BestMicroseconds(200, [&] {
    store.scratch.clear();
    store.cells.clear();
    CutPageIntoRows(view, converted);
  });
  const char separator[] = ">参与</";
  const double findPass = BestMicroseconds(200, [&] {
    size_t found = 0;
    for (size_t at = converted.find(separator); at != std::string::npos;
         at = converted.find(separator, at + 1))
      ++found;
    sink = sink + found;
  });

  const std::string path = DemoListings()[listing].path;
  const std::string pagePath = path.substr(0, path.size() - 5) + "p" + std::to_string(number) + ".html";
  LoopbackReply reply;
  reply.headers = {"Content-Type: text/html; charset=utf-8"};
  reply.body = page;
  server.SetReply(pagePath, reply);
  const PageFetcher fetch = [](const std::string& url) { return WebRequest(url); };
  const double request = BestMicroseconds(10, [&] { sink = sink + fetch(site + pagePath).size(); });
  const double collect = BestMicroseconds(10, [&] {
    // The listing address whose page `number` is pagePath; earlier pages are not served.
    CollectTaskPages(view, [&](const std::string& url) {
      return url == site + pagePath ? fetch(url) : Bytes();
    }, site + path, number);
  });

  std::printf("convert from UTF-8 (Windows API)   %10.1f us\n", convert);
  std::printf("cut into rows                      %10.1f us\n", cut);
  std::printf("cut through the scratch box        %10.1f us\n", throughBox);
  std::printf("one std::string::find pass         %10.1f us\n", findPass);
  std::printf("one WebRequest of the page         %10.1f us\n", request);
  std::printf("collect the page (request to rows) %10.1f us  (%d rows)\n", collect, store.rows);
  return 0;
}
