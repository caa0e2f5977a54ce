// Page i of a listing address, and the command table the addresses come from.
#include <gtest/gtest.h>

#include "collect/listings.h"
#include "collect/page_address.h"

namespace {

TEST(ListingPageAddress, InsertsThePageNumberBeforeHtml) {
  const struct {
    std::string listing;
    int page;
    std::string expected;
  } cases[] = {
      {"http://m.test/c-rjkf/t.html", 1, "http://m.test/c-rjkf/tp1.html"},
      {"http://m.test/c-rjkf/t.html", 2, "http://m.test/c-rjkf/tp2.html"},
      {"http://m.test/c-rjkf/t.html", 1234567, "http://m.test/c-rjkf/tp1234567.html"},
      {"http://m.test/c-rjkf/zmyy/t.html", 2, "http://m.test/c-rjkf/zmyy/tp2.html"},
      {"http://m.test/c-rjkf/th3.html", 2, "http://m.test/c-rjkf/th3p2.html"},
      // A pasted page address: its page number is replaced, not added to.
      {"http://m.test/c-rjkf/tp7.html", 2, "http://m.test/c-rjkf/tp2.html"},
      {"http://m.test/c-rjkf/th3p12.html", 3, "http://m.test/c-rjkf/th3p3.html"},
      {"http://m.test/p7.html", 2, "http://m.test/p2.html"},
      {"http://m.test/help.html", 2, "http://m.test/helpp2.html"},  // "p" without digits stays
      {"http://m.test/c-rjkf/t.html?kw=oa#top", 2, "http://m.test/c-rjkf/tp2.html?kw=oa#top"},
      {"m.test/c-rjkf/t.html", 3, "m.test/c-rjkf/tp3.html"},
      {"http://m.test/.html", 2, "http://m.test/p2.html"},
      // A 'p' that is the second byte of a two-byte character is not a page mark.
      {"http://m.test/\xB0\x70" "7.html", 2, "http://m.test/\xB0\x70" "7p2.html"},
      {"http://m.test/\xC8\xCE\xCE\xF1.html", 2, "http://m.test/\xC8\xCE\xCE\xF1p2.html"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.listing + " page " + std::to_string(c.page));
    EXPECT_EQ(ListingPageAddress(c.listing, c.page), c.expected);
  }
}

TEST(ListingPageAddress, AnAddressWithoutThePatternHasOnePageItself) {
  for (const std::string listing :
       {"http://m.test/list?cat=3", "http://m.test/c-rjkf/", "http://m.test.html", "", "t.html",
        "http://m.test/t.htm", "http://m.test/t.HTML", "http://m.test/a?x=t.html",
        "http://m.test/\x81.html"}) {
    SCOPED_TRACE(listing);
    EXPECT_EQ(ListingPageAddress(listing, 1), listing);
    EXPECT_EQ(ListingPageAddress(listing, 2), std::nullopt);
  }
}

TEST(ListingPageAddress, NoPageBelowOne) {
  for (int page : {0, -1}) {
    EXPECT_EQ(ListingPageAddress("http://m.test/c-rjkf/t.html", page), std::nullopt);
    EXPECT_EQ(ListingPageAddress("http://m.test/list", page), std::nullopt);
  }
}

TEST(ListingCommands, NineButtonsWithTheirListings) {
  const std::pair<std::string, std::string> expected[] = {
      {"青石坊接单网", "/c-rjkf/t.html"},     {"桌面软件", "/c-rjkf/zmyy/t.html"},
      {"多媒体软件", "/c-rjkf/dmtrj/t.html"}, {"办公自动化OA", "/c-rjkf/erp/t.html"},
      {"脚本制作", "/c-rjkf/jbkf/t.html"},    {"插件制作", "/c-rjkf/chajiankf/t.html"},
      {"其他软件", "/c-rjkf/qtrjkf/t.html"},  {"己托管", "/c-rjkf/th3.html"},
      {"客户关系管理", "/c-rjkf/crm/t.html"},
  };
  ASSERT_EQ(ListingCommands().size(), 9u);
  for (size_t i = 0; i < 9; ++i) {
    EXPECT_EQ(ListingCommands()[i].caption, expected[i].first);
    EXPECT_EQ(ListingCommands()[i].path, expected[i].second);
    EXPECT_EQ(ListingAddress(ListingCommands()[i]), MarketplaceBaseAddress() + expected[i].second);
  }
  EXPECT_EQ(MarketplaceBaseAddress().find("http://"), 0u);
  EXPECT_NE(MarketplaceBaseAddress().back(), '/');
}

TEST(ListingCommands, EveryListingPagesByTheRule) {
  const std::string base = MarketplaceBaseAddress();
  const struct {
    const char* pageOne;
    const char* pageTwo;
  } expected[] = {
      {"/c-rjkf/tp1.html", "/c-rjkf/tp2.html"},
      {"/c-rjkf/zmyy/tp1.html", "/c-rjkf/zmyy/tp2.html"},
      {"/c-rjkf/dmtrj/tp1.html", "/c-rjkf/dmtrj/tp2.html"},
      {"/c-rjkf/erp/tp1.html", "/c-rjkf/erp/tp2.html"},
      {"/c-rjkf/jbkf/tp1.html", "/c-rjkf/jbkf/tp2.html"},
      {"/c-rjkf/chajiankf/tp1.html", "/c-rjkf/chajiankf/tp2.html"},
      {"/c-rjkf/qtrjkf/tp1.html", "/c-rjkf/qtrjkf/tp2.html"},
      {"/c-rjkf/th3p1.html", "/c-rjkf/th3p2.html"},
      {"/c-rjkf/crm/tp1.html", "/c-rjkf/crm/tp2.html"},
  };
  for (size_t i = 0; i < 9; ++i) {
    const std::string listing = ListingAddress(ListingCommands()[i]);
    SCOPED_TRACE(listing);
    EXPECT_EQ(ListingPageAddress(listing, 1), base + expected[i].pageOne);
    EXPECT_EQ(ListingPageAddress(listing, 2), base + expected[i].pageTwo);
  }
  // The whole section's pages are exactly TaskPagePath.
  for (int page : {1, 2, 10, 99})
    EXPECT_EQ(ListingPageAddress(ListingAddress(ListingCommands()[0]), page), TaskPagePath(page));
  EXPECT_EQ(TaskPagePath(3), base + "/c-rjkf/tp3.html");
}

}  // namespace
