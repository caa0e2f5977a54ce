// The pages of the demo marketplace, built without a server so tests and benchmarks can use
// them directly. Pages are UTF-8 HTML carrying the markers the collector cuts by.
#pragma once
#include <string>

#include "tools/demo/demo_tasks.h"

struct DemoResponse {
  int status;        // 200, or 404 for an address the marketplace does not have
  std::string body;  // text/html; charset=utf-8
};

// The page at `path` (no query). `site` is the scheme and host the page's links point at,
// e.g. "http://127.0.0.1:8080", so the links lead back to the server that served them.
DemoResponse DemoMarketplaceResponse(const std::string& path, const std::string& site);

// Which listing page a path names: "t.html" is page 1, "tp<i>.html" page i (likewise for
// "th3.html" and "th3p<i>.html"). False for any other path.
bool DemoResolveListingPath(const std::string& path, int* listing, int* page);

// Page `page` of listing `listing`; beyond the last page, a listing page without tasks.
std::string DemoListingPage(int listing, int page, const std::string& site);

// The link of a task's title on a listing page; it ends in a slash.
std::string DemoTaskLink(const DemoTask& task, const std::string& site);
