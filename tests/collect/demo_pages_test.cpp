// The demo marketplace's pages cut by the real collector: every task of a page comes back as
// one row with its title, requirement and address in CP936.
#include <gtest/gtest.h>

#include <algorithm>

#include "collect/collector.h"
#include "collect/listings.h"
#include "collect/page_address.h"
#include "tests/collect/fake_view.h"
#include "text/codepage.h"
#include "tools/demo/demo_pages.h"

namespace {

const std::string kSite = "http://demo.test:8080";

std::string PathOf(const std::string& address) { return address.substr(kSite.size()); }

TEST(DemoMarketplace, ListingsMatchTheCommandTable) {
  ASSERT_EQ(DemoListings().size(), ListingCommands().size());
  for (size_t i = 0; i < DemoListings().size(); ++i)
    EXPECT_EQ(std::string(DemoListings()[i].path), ListingCommands()[i].path);
}

TEST(DemoMarketplace, EveryPageTheRuleProducesIsServed) {
  for (int l = 0; l < static_cast<int>(DemoListings().size()); ++l) {
    const DemoListing& listing = DemoListings()[l];
    SCOPED_TRACE(listing.path);
    int resolved = -1, page = -1;
    ASSERT_TRUE(DemoResolveListingPath(listing.path, &resolved, &page));
    EXPECT_EQ(resolved, l);
    EXPECT_EQ(page, 1);
    for (int i : {1, 2, listing.pageCount, listing.pageCount + 1, 99999}) {
      const auto address = ListingPageAddress(kSite + listing.path, i);
      ASSERT_TRUE(address.has_value());
      ASSERT_TRUE(DemoResolveListingPath(PathOf(*address), &resolved, &page)) << *address;
      EXPECT_EQ(resolved, l);
      EXPECT_EQ(page, i);
      EXPECT_EQ(DemoMarketplaceResponse(PathOf(*address), kSite).status, 200);
    }
  }
  for (const char* path : {"/c-rjkf/tx2.html", "/c-rjkf/zmyy/", "/c-rjkf/tp.html", "/task/1/", "/x"})
    EXPECT_EQ(DemoMarketplaceResponse(path, kSite).status, 404) << path;
}

TEST(DemoMarketplace, PagesAreRealisticAndDifferPerListingAndPage) {
  std::vector<std::string> firstTitles;
  for (int l = 0; l < static_cast<int>(DemoListings().size()); ++l) {
    for (int page = 1; page <= DemoListings()[l].pageCount; ++page) {
      const std::vector<DemoTask> tasks = DemoListingTasks(l, page);
      EXPECT_GE(tasks.size(), 20u);
      EXPECT_LE(tasks.size(), 40u);
      const size_t size = DemoListingPage(l, page, kSite).size();
      EXPECT_GE(size, 100u * 1024) << l << " " << page;
      EXPECT_LE(size, 300u * 1024) << l << " " << page;
    }
    firstTitles.push_back(DemoListingTasks(l, 1)[0].title + DemoListingTasks(l, 2)[0].title);
    EXPECT_NE(DemoListingTasks(l, 1)[0].title + DemoListingTasks(l, 1)[0].requirement,
              DemoListingTasks(l, 2)[0].title + DemoListingTasks(l, 2)[0].requirement);
    EXPECT_TRUE(DemoListingTasks(l, DemoListings()[l].pageCount + 1).empty());
  }
  std::sort(firstTitles.begin(), firstTitles.end());
  EXPECT_EQ(std::unique(firstTitles.begin(), firstTitles.end()), firstTitles.end());
  // The same page every time.
  EXPECT_EQ(DemoListingPage(3, 2, kSite), DemoListingPage(3, 2, kSite));
}

TEST(DemoMarketplace, ThePageIsCutIntoItsTasks) {
  for (const auto& [listing, page] : std::vector<std::pair<int, int>>{{0, 1}, {1, 2}, {7, 1}, {8, 7}}) {
    SCOPED_TRACE(DemoListings()[listing].path + std::string(" page ") + std::to_string(page));
    const std::string address = kSite + DemoListings()[listing].path;
    FakeWindow w;
    w.pages[*ListingPageAddress(address, page)] = Body(DemoListingPage(listing, page, kSite));
    // Collect just that page: earlier pages fail and add nothing.
    CollectTaskPages(w.View(), w.Fetcher(), address, page);

    const std::vector<DemoTask> tasks = DemoListingTasks(listing, page);
    ASSERT_EQ(w.rows.size(), tasks.size());
    for (size_t r = 0; r < tasks.size(); ++r) {
      std::string link = DemoTaskLink(tasks[r], kSite);
      link.pop_back();
      EXPECT_EQ(w.rows[r][0], std::to_string(r + 1));
      EXPECT_EQ(w.rows[r][1], Utf8ToAnsi(tasks[r].title));
      EXPECT_EQ(w.rows[r][2], Utf8ToAnsi(tasks[r].requirement));
      EXPECT_EQ(w.rows[r][3], link);
      EXPECT_FALSE(w.rows[r][1].empty());
      EXPECT_EQ(w.rows[r][1].find('?'), std::string::npos);  // every character exists in CP936
    }
  }
}

TEST(DemoMarketplace, APageBeyondTheLastHasNoTasks) {
  FakeWindow w;
  const int beyond = DemoListings()[5].pageCount + 1;
  const std::string address = kSite + DemoListings()[5].path;
  w.pages[*ListingPageAddress(address, beyond)] = Body(DemoListingPage(5, beyond, kSite));
  CollectTaskPages(w.View(), w.Fetcher(), address, beyond);
  EXPECT_TRUE(w.rows.empty());
  EXPECT_NE(w.scratch, "");  // the table is there, only empty
}

TEST(DemoMarketplace, EveryTaskAddressHasAPage) {
  for (int l = 0; l < static_cast<int>(DemoListings().size()); ++l) {
    for (const DemoTask& task : DemoListingTasks(l, 1)) {
      std::string path = PathOf(DemoTaskLink(task, kSite));
      const DemoResponse withSlash = DemoMarketplaceResponse(path, kSite);
      path.pop_back();  // the address cell as the collector leaves it
      const DemoResponse withoutSlash = DemoMarketplaceResponse(path, kSite);
      EXPECT_EQ(withSlash.status, 200);
      EXPECT_EQ(withoutSlash.status, 200);
      EXPECT_NE(withoutSlash.body.find(task.title), std::string::npos);
      EXPECT_EQ(withSlash.body, withoutSlash.body);
    }
  }
}

}  // namespace
