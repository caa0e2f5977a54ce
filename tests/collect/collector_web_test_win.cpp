// The collector over the real WebRequest (WinINet, through the external-function table)
// against a loopback server: UTF-8 pages come back as CP936 cells.
#include <gtest/gtest.h>

#include "collect/collector.h"
#include "tests/collect/fake_view.h"
#include "tests/support/loopback_server_win.h"
#include "text/codepage.h"
#include "tools/demo/demo_pages.h"
#include "web/web_request.h"

namespace {

Bytes Fetch(const std::string& url) { return WebRequest(url); }

LoopbackReply Html(const std::string& body) {
  LoopbackReply reply;
  reply.headers = {"Content-Type: text/html; charset=utf-8"};
  reply.body = body;
  return reply;
}

TEST(CollectOverWebRequest, ChineseUtf8PageGivesCp936Cells) {
  LoopbackServer server;
  const std::string page =
      u8"<html><head><meta charset=\"utf-8\"><title>任务</title></head><body>"
      u8"<table class=\"list-task\"><tr><td><a class=\"list-task-title\" href=\"" +
      server.Url("/task/11000201/") +
      u8"\" target=\"_blank\" data-sc=\"{obj:'main'}\">仓库进销存管理系统（急）</a>"
      u8"<p class=\"list-task-ctn\">使用易语言开发，预算￥800元，工期10天。</p></td>"
      u8"<td><a href=\"#\">参与</a></td></tr></table>"
      u8"<dl><dd><a href=\"/credit/\">诚信管理中心</a></dd></dl></body></html>";
  server.SetReply("/c-rjkf/zmyy/tp1.html", Html(page));

  FakeWindow w;
  CollectTaskPages(w.View(), Fetch, server.Url("/c-rjkf/zmyy/t.html"), 1);

  ASSERT_EQ(w.rows.size(), 1u);
  EXPECT_EQ(w.rows[0][0], "1");
  EXPECT_EQ(w.rows[0][1], "仓库进销存管理系统（急）");
  EXPECT_EQ(w.rows[0][2], "使用易语言开发，预算￥800元，工期10天。");
  EXPECT_EQ(w.rows[0][3], server.Url("/task/11000201"));
  // Byte for byte: 仓 is 0xB2 0xD6 in code page 936.
  EXPECT_EQ(w.rows[0][1].substr(0, 2), "\xB2\xD6");
  ASSERT_EQ(server.RequestCount(), 1);
  EXPECT_EQ(LoopbackRequestLine(server.LastRequest()), "GET /c-rjkf/zmyy/tp1.html HTTP/1.1");
}

TEST(CollectOverWebRequest, DemoPagesInOrderAndAFailedPageSkipped) {
  LoopbackServer server;
  const std::string site = server.Url("");
  server.SetReply("/c-rjkf/th3p1.html", Html(DemoListingPage(7, 1, site)));
  LoopbackReply closed;
  closed.mode = LoopbackMode::kCloseBeforeReply;
  server.SetReply("/c-rjkf/th3p2.html", closed);
  server.SetReply("/c-rjkf/th3p3.html", Html(DemoListingPage(7, 3, site)));

  FakeWindow w;
  CollectTaskPages(w.View(), Fetch, server.Url("/c-rjkf/th3.html"), 3);

  std::vector<DemoTask> tasks = DemoListingTasks(7, 1);
  const std::vector<DemoTask> third = DemoListingTasks(7, 3);
  tasks.insert(tasks.end(), third.begin(), third.end());
  ASSERT_EQ(w.rows.size(), tasks.size());
  for (size_t r = 0; r < tasks.size(); ++r) {
    std::string link = DemoTaskLink(tasks[r], site);
    link.pop_back();
    EXPECT_EQ(w.rows[r][0], std::to_string(r + 1));
    EXPECT_EQ(w.rows[r][1], Utf8ToAnsi(tasks[r].title));
    EXPECT_EQ(w.rows[r][2], Utf8ToAnsi(tasks[r].requirement));
    EXPECT_EQ(w.rows[r][3], link);
  }
  // WinINet sends a request again once when the connection closes before a reply.
  std::vector<std::string> lines;
  for (const std::string& request : server.Requests())
    if (lines.empty() || lines.back() != LoopbackRequestLine(request))
      lines.push_back(LoopbackRequestLine(request));
  EXPECT_EQ(lines, (std::vector<std::string>{"GET /c-rjkf/th3p1.html HTTP/1.1",
                                             "GET /c-rjkf/th3p2.html HTTP/1.1",
                                             "GET /c-rjkf/th3p3.html HTTP/1.1"}));
}

TEST(CollectOverWebRequest, NoRequestAfterTheWindowIsGone) {
  LoopbackServer server;
  server.SetReply("/c-rjkf/crm/tp1.html", Html(DemoListingPage(8, 1, server.Url(""))));
  FakeWindow w;
  w.onPump = [](int pump) { return pump < 2; };
  CollectTaskPages(w.View(), Fetch, server.Url("/c-rjkf/crm/t.html"), 5);
  EXPECT_EQ(server.RequestCount(), 1);
  EXPECT_EQ(w.rows.size(), DemoListingTasks(8, 1).size());
}

}  // namespace
