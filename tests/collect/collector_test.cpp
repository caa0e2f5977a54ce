// CollectTaskPages over a recording window and a table of pages. Pages are written in UTF-8
// (u8 literals), as the marketplace sends them; expected cells are CP936 (plain literals).
#include <gtest/gtest.h>

#include <climits>

#include "collect/collector.h"
#include "tests/collect/fake_view.h"

namespace {

// A text in both encodings: as the page carries it and as the collector must give it back.
struct Both {
  std::string utf8, cp936;
};

struct Task {
  Both title;
  std::string link;
  Both requirement;
};

std::string TaskHtml(const Task& t, bool utf8) {
  return std::string("<tr><td><a class=\"list-task-title\" href=\"") + t.link +
         "\" target=\"_blank\" data-sc=\"{obj:'main'}\">" + (utf8 ? t.title.utf8 : t.title.cp936) +
         "</a>\n<p class=\"list-task-ctn\">" + (utf8 ? t.requirement.utf8 : t.requirement.cp936) +
         "</p></td><td><a class=\"btn-join\" href=\"" + t.link + "#join\">" +
         (utf8 ? u8"参与" : "参与") + "</a></td></tr>\n";
}

// The table text the collector leaves in the scratch box: rows up to the right table marker.
std::string TableText(const std::vector<Task>& tasks, bool utf8) {
  std::string rows;
  for (const Task& t : tasks) rows += TaskHtml(t, utf8);
  return "\n<tr><th>x</th></tr>\n" + rows + "</table>\n<dl><dd><a href=\"/credit/\">";
}

std::string PageHtml(const std::vector<Task>& tasks, bool utf8) {
  return std::string("<html><head><title>") + (utf8 ? u8"任务列表" : "任务列表") +
         "</title></head><body><table class=\"list-task\">" + TableText(tasks, utf8) +
         (utf8 ? u8"诚信管理中心" : "诚信管理中心") + "</a></dd></dl></body></html>";
}

const Task kWarehouse{{u8"仓库进销存管理系统", "仓库进销存管理系统"},
                      "http://m.test/task/101/",
                      {u8"使用C#开发，预算800元，工期10天。", "使用C#开发，预算800元，工期10天。"}};
const Task kMacro{{u8"Excel批量处理宏（急）", "Excel批量处理宏（急）"},
                  "http://m.test/task/102/",
                  {u8"VBA，一次处理上千条", "VBA，一次处理上千条"}};
const Task kPlugin{{"Chrome plugin", "Chrome plugin"}, "http://m.test/task/201/", {"JS", "JS"}};
const Task kScript{{u8"定时签到脚本", "定时签到脚本"}, "http://m.test/task/301/", {u8"Python", "Python"}};
const Task kOa{{u8"企业OA审批流程", "企业OA审批流程"}, "http://m.test/task/302/", {u8"Java", "Java"}};

const std::string kListing = "http://m.test/c-rjkf/zmyy/t.html";
std::string PageOf(int i) { return "http://m.test/c-rjkf/zmyy/tp" + std::to_string(i) + ".html"; }

std::array<std::string, 4> Row(const std::string& number, const Task& t) {
  std::string address = t.link;
  address.pop_back();  // the address marker leaves the link's final slash out
  return {number, t.title.cp936, t.requirement.cp936, address};
}

TEST(CollectTaskPages, OnePageGoesThroughTheWindowInOrder) {
  FakeWindow w;
  w.pages[PageOf(1)] = Body(PageHtml({kWarehouse, kMacro}, true));
  CollectTaskPages(w.View(), w.Fetcher(), kListing, 1);

  const std::string table = TableText({kWarehouse, kMacro}, false);
  const std::vector<std::string> expected = {
      "Clear",
      "Pump",
      "Scratch=",
      "Progress 10",
      "Fetch " + PageOf(1),
      "ScratchAppend=" + PageHtml({kWarehouse, kMacro}, false),
      "Progress 60",
      "GetScratch",
      "Scratch=" + table,
      "GetScratch",
      "Append 0",
      "Cell 0,1=仓库进销存管理系统",
      "Cell 0,2=使用C#开发，预算800元，工期10天。",
      "Cell 0,3=http://m.test/task/101",
      "Append 1",
      "Cell 1,1=Excel批量处理宏（急）",
      "Cell 1,2=VBA，一次处理上千条",
      "Cell 1,3=http://m.test/task/102",
      "Progress 100",
      "Hide",
      "Count",
      "Cell 0,0=1",
      "Cell 1,0=2",
  };
  EXPECT_EQ(w.log, expected);
  EXPECT_EQ(w.scratch, table);  // the last page's task table stays in the box
  EXPECT_EQ(w.progress, 100);
  EXPECT_TRUE(w.barHidden);
}

TEST(CollectTaskPages, PageCountBelowOneOnlyEmptiesTheList) {
  for (int count : {0, -1, INT_MIN}) {
    SCOPED_TRACE(count);
    FakeWindow w;
    w.rows.resize(3);
    w.progress = 40;
    CollectTaskPages(w.View(), w.Fetcher(), kListing, count);
    // Numbering still counts the rows, and finds none to write.
    EXPECT_EQ(w.log, (std::vector<std::string>{"Clear", "Count"}));
    EXPECT_TRUE(w.rows.empty());
    EXPECT_TRUE(w.fetched.empty());
    EXPECT_EQ(w.scratch, "earlier text");
    EXPECT_EQ(w.progress, 40);
    EXPECT_FALSE(w.barHidden);
  }
}

TEST(CollectTaskPages, AFailedPageAddsNothingAndTheNextFollows) {
  FakeWindow w;
  w.pages[PageOf(1)] = Body(PageHtml({kWarehouse, kMacro}, true));
  w.pages[PageOf(3)] = Body(PageHtml({kPlugin}, true));  // page 2 fails: empty body
  CollectTaskPages(w.View(), w.Fetcher(), kListing, 3);

  EXPECT_EQ(w.fetched, (std::vector<std::string>{PageOf(1), PageOf(2), PageOf(3)}));
  const std::vector<std::array<std::string, 4>> expected = {
      Row("1", kWarehouse), Row("2", kMacro), Row("3", kPlugin)};
  EXPECT_EQ(w.rows, expected);
  // Page 2 still moves the bar and hides it, and leaves an empty box behind it.
  std::vector<std::string> progress;
  for (const std::string& op : w.log)
    if (op.rfind("Progress", 0) == 0 || op == "Hide" || op == "Scratch=") progress.push_back(op);
  const std::vector<std::string> onePage = {"Scratch=", "Progress 10", "Progress 60",
                                            "Progress 100", "Hide"};
  const std::vector<std::string> failedPage = {"Scratch=", "Progress 10", "Progress 60",
                                               "Scratch=", "Progress 100", "Hide"};
  std::vector<std::string> expectedProgress;
  for (const auto* page : {&onePage, &failedPage, &onePage})
    expectedProgress.insert(expectedProgress.end(), page->begin(), page->end());
  EXPECT_EQ(progress, expectedProgress);
}

TEST(CollectTaskPages, EveryPieceButTheLastIsATask) {
  const std::string block = "<a class=\"list-task-title\" href=\"http://m.test/task/1/\" target=\"_blank\"";
  const struct {
    const char* name;
    std::string table;
    size_t rows;
  } cases[] = {
      {"no separator", block + "x", 0},
      {"one separator and text after it", block + u8">参与</a>tail", 1},
      {"three separators and text after them", block + u8">参与</" + block + u8">参与</" + block +
                                                   u8">参与</footer", 3},
      {"ending exactly with the separator", block + u8">参与</" + block + u8">参与</", 1},
      {"only the separator", u8">参与</", 0},
      {"an empty block is still a row", u8">参与</>参与</x", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeWindow w;
    w.pages[PageOf(1)] =
        Body(u8"<table class=\"list-task\">" + c.table + u8"诚信管理中心</a></dd>");
    CollectTaskPages(w.View(), w.Fetcher(), kListing, 1);
    EXPECT_EQ(w.rows.size(), c.rows);
    for (size_t r = 0; r < w.rows.size(); ++r) EXPECT_EQ(w.rows[r][0], std::to_string(r + 1));
  }
}

TEST(CollectTaskPages, CellsHoldExactlyWhatLiesBetweenTheMarkers) {
  const std::string title = "data-sc=\"{obj:'main'}\">";
  const std::string link = "<a class=\"list-task-title\" href=\"";
  const std::string requirement = "<p class=\"list-task-ctn\">";
  const struct {
    const char* name;
    std::string block;
    std::array<std::string, 3> cells;  // title, requirement, address
  } cases[] = {
      {"all three", link + "http://m.test/task/7/\" target=\"_blank\" " + title + u8"标题</a>" +
                        requirement + u8"要求</p></td>",
       {"标题", "要求", "http://m.test/task/7"}},
      {"no title markers", link + "http://m.test/task/8/\" target=\"_blank\">x</a>" + requirement +
                               u8"要求</p></td>",
       {"", "要求", "http://m.test/task/8"}},
      {"a link ending in two slashes loses one", link + "http://m.test/dir//\" target=\"_blank\"",
       {"", "", "http://m.test/dir/"}},
      {"a link without a final slash gives no address", link + "http://m.test/task/9\" target=\"_blank\"",
       {"", "", ""}},
      {"entities and blanks stay as they are", " " + title + " A&amp;B </a>" + requirement +
                                                   "\r\n x </p></td>",
       {" A&amp;B ", "\r\n x ", ""}},
      {"a requirement not closed by its cell is empty", requirement + u8"要求</p><br></td>", {"", "", ""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeWindow w;
    w.pages[PageOf(1)] =
        Body(u8"<table class=\"list-task\">" + c.block + u8">参与</tail诚信管理中心</a></dd>");
    CollectTaskPages(w.View(), w.Fetcher(), kListing, 1);
    ASSERT_EQ(w.rows.size(), 1u);
    EXPECT_EQ(w.rows[0], (std::array<std::string, 4>{"1", c.cells[0], c.cells[1], c.cells[2]}));
  }
}

TEST(CollectTaskPages, PagesWithoutATableAddNoRows) {
  const struct {
    const char* name;
    std::string body;
  } cases[] = {
      {"error page", "<html><body>502 Bad Gateway</body></html>"},
      {"no closing marker", "<table class=\"list-task\">" + TaskHtml(kPlugin, true)},
      {"closing marker only before the table",
       u8"诚信管理中心</a></dd><table class=\"list-task\">" + TaskHtml(kPlugin, true)},
      // The body ends at its first zero byte, before the closing marker.
      {"zero byte inside the table", [] {
         std::string page = PageHtml({kPlugin}, true);
         return page.insert(page.find("<tr><td>"), 1, '\0');
       }()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeWindow w;
    w.pages[PageOf(1)] = Body(c.body);
    CollectTaskPages(w.View(), w.Fetcher(), kListing, 1);
    EXPECT_TRUE(w.rows.empty());
    EXPECT_EQ(w.scratch, "");
    EXPECT_TRUE(w.barHidden);
  }
}

TEST(CollectTaskPages, AnAddressWithoutAPagePatternIsFetchedOnceAsTyped) {
  for (const std::string address : {"http://m.test/list?cat=3", "", "http://m.test/c-rjkf/"}) {
    SCOPED_TRACE(address);
    FakeWindow w;
    w.pages[address] = Body(PageHtml({kScript}, true));
    CollectTaskPages(w.View(), w.Fetcher(), address, 3);
    EXPECT_EQ(w.fetched, std::vector<std::string>{address});
    EXPECT_EQ(w.pumps, 1);
    EXPECT_EQ(w.rows, (std::vector<std::array<std::string, 4>>{Row("1", kScript)}));
  }
}

TEST(CollectTaskPages, ANestedCollectionEmptiesTheListAndTheOuterOneAppendsAfterIt) {
  FakeWindow w;
  const std::string inner = "http://m.test/c-rjkf/jbkf/t.html";
  w.pages[PageOf(1)] = Body(PageHtml({kWarehouse, kMacro, kPlugin}, true));
  w.pages[PageOf(2)] = Body(PageHtml({kWarehouse}, true));
  w.pages["http://m.test/c-rjkf/jbkf/tp1.html"] = Body(PageHtml({kScript, kOa}, true));
  const CollectorView view = w.View();
  const PageFetcher fetch = w.Fetcher();
  // A command clicked during page 1 runs inside the pump at the start of page 2.
  w.onPump = [&](int pump) {
    if (pump == 2) CollectTaskPages(view, fetch, inner, 1);
    return true;
  };
  CollectTaskPages(view, fetch, kListing, 2);

  EXPECT_EQ(w.fetched, (std::vector<std::string>{PageOf(1), "http://m.test/c-rjkf/jbkf/tp1.html",
                                                 PageOf(2)}));
  const std::vector<std::array<std::string, 4>> expected = {Row("1", kScript), Row("2", kOa),
                                                            Row("3", kWarehouse)};
  EXPECT_EQ(w.rows, expected);
}

TEST(CollectTaskPages, StopsAtOnceWhenTheWindowIsGone) {
  for (int lastPump : {1, 2, 3}) {
    SCOPED_TRACE(lastPump);
    FakeWindow w;
    for (int i = 1; i <= 3; ++i) w.pages[PageOf(i)] = Body(PageHtml({kWarehouse, kMacro}, true));
    w.onPump = [&](int pump) { return pump < lastPump; };
    CollectTaskPages(w.View(), w.Fetcher(), kListing, 3);

    std::vector<std::string> expectedFetches;
    for (int i = 1; i < lastPump; ++i) expectedFetches.push_back(PageOf(i));
    EXPECT_EQ(w.fetched, expectedFetches);
    // Nothing after the pump that found the window gone: no request, no cell, no numbering.
    ASSERT_FALSE(w.log.empty());
    EXPECT_EQ(w.log.back(), "Pump");
    EXPECT_EQ(w.pumps, lastPump);
  }
}

TEST(CollectTaskPages, AHugePageCountGoesOnUntilTheWindowCloses) {
  FakeWindow w;
  w.onPump = [](int pump) { return pump < 4; };
  CollectTaskPages(w.View(), w.Fetcher(), kListing, INT_MAX);
  EXPECT_EQ(w.fetched, (std::vector<std::string>{PageOf(1), PageOf(2), PageOf(3)}));

  FakeWindow once;
  CollectTaskPages(once.View(), once.Fetcher(), "http://m.test/list", INT_MAX);
  EXPECT_EQ(once.fetched, std::vector<std::string>{"http://m.test/list"});
}

TEST(CollectTaskPages, ANestedCollectionThatSeesTheWindowGoneStopsTheOuterOneToo) {
  FakeWindow w;
  w.pages[PageOf(1)] = Body(PageHtml({kWarehouse}, true));
  const CollectorView view = w.View();
  const PageFetcher fetch = w.Fetcher();
  // The window is closed while the inner collection pumps; the quit message stays waiting,
  // so the outer pump, which dispatched the inner command, reports it too.
  bool closed = false;
  w.onPump = [&](int pump) {
    if (pump == 3) closed = true;
    if (pump == 2) CollectTaskPages(view, fetch, "http://m.test/c-rjkf/crm/t.html", 2);
    return !closed;
  };
  CollectTaskPages(view, fetch, kListing, 5);
  EXPECT_EQ(w.fetched, std::vector<std::string>{PageOf(1)});
  EXPECT_EQ(w.log.back(), "Pump");
}

TEST(CollectTaskPages, RowsOfEarlierPagesKeepTheirOrderAndAreNumberedOnce) {
  FakeWindow w;
  w.pages[PageOf(1)] = Body(PageHtml({kWarehouse, kMacro}, true));
  w.pages[PageOf(2)] = Body(PageHtml({kWarehouse, kPlugin}, true));  // a repeated task stays
  CollectTaskPages(w.View(), w.Fetcher(), kListing, 2);
  const std::vector<std::array<std::string, 4>> expected = {
      Row("1", kWarehouse), Row("2", kMacro), Row("3", kWarehouse), Row("4", kPlugin)};
  EXPECT_EQ(w.rows, expected);
  int numbering = 0;
  for (const std::string& op : w.log) numbering += op.rfind("Cell", 0) == 0 && op.find(",0=") != std::string::npos;
  EXPECT_EQ(numbering, 4);
}

}  // namespace
